// A program that runs beside the test, such as the stand-in file manager the
// installer must ask to quit. Its standard output goes to a file the test
// reads while it runs; it is killed if still running when the object goes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/test_support.h"

// How long a started program may take to get to an event a test waits for,
// however busy the machine: a bound that only ends a wait that went wrong,
// never a time a test expects.
const DWORD kPatienceMs = 120000;

class BackgroundProgram {
 public:
  // Starts `program` with `arguments`, in the test's own environment.
  BackgroundProgram(const WString &program, const std::vector<WString> &arguments);
  ~BackgroundProgram();
  BackgroundProgram(const BackgroundProgram &) = delete;
  BackgroundProgram &operator=(const BackgroundProgram &) = delete;

  bool Started() const;
  // Standard output so far.
  std::string Output() const;
  // Waits until the output holds `text`; false when the program ends first
  // or the time runs out.
  bool WaitForOutput(const std::string &text, DWORD timeoutMs);
  // Waits for the program to end; false when the time runs out.
  bool WaitForExit(DWORD timeoutMs, DWORD &exitCode);

  // The platform's side, in linux/ or windows/.
  struct Process;

 private:
  testing_support::TempDir m_folder;
  WString m_outputFile;
  std::unique_ptr<Process> m_process;
};

// Whether the platform shows the drive bar as a toolbar in the stand-in file
// manager's window (Windows), as opposed to only printing it (Linux).
bool FileManagerShowsToolbar();
// The number of buttons of that toolbar, and the index of the button with a
// command id; -1 when there is no such window, toolbar or button.
int ShownButtonCount();
int ShownButtonIndex(DWORD commandId);

// Takes the write permission of the stand-in's window folder (ADDBAR_WINDOWS)
// away or gives it back; false where there is no such folder (Windows).
bool SetWindowFolderWritable(bool writable);
