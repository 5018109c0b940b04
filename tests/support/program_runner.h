// Running a built program from a test: arguments, environment, working
// folder and the answers for its message boxes go in; its exit code and the
// boxes it showed come out. Every wait is bounded.
//
// On Linux the stand-in writes each box to standard error and takes its
// answers from ADDBAR_ANSWERS; on Windows (and Wine) the runner finds the
// program's dialog windows, reads them and presses the answer's button.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace testing_support {

enum class BoxAnswer { Ok, Cancel };

struct ProgramRequest {
  WString program;                 // path in the test's own form (TempDir, BuiltProgram)
  std::vector<WString> arguments;  // after argument 0, which is `program`
  // When set, the whole command line the program sees, argument 0 included,
  // as typed (white space only, unclosed quotes, …); `arguments` is ignored.
  bool useRawCommandLine = false;
  WString rawCommandLine;
  std::vector<std::pair<std::string, std::string>> environment;  // added or replaced
  WString workingDirectory;                                      // empty = the test's own
  std::vector<BoxAnswer> answers;  // one per box, in order; then each box's default button
  DWORD timeoutMs = 60000;
};

struct ShownBox {
  WString caption;
  WString text;
};

struct ProgramRun {
  bool ended = false;   // started and ended by itself within the time limit
  std::string failure;  // why not: could not start, timed out, killed by a signal
  DWORD exitCode = 0;   // as the platform reports it (see ObservableExitCode)
  std::vector<ShownBox> boxes;
  std::string diagnostics;  // what else the runner saw (standard error on Linux)
};

ProgramRun RunProgram(const ProgramRequest &request);

// The exit code a parent can observe for a program that ended with `code`:
// Windows keeps all 32 bits; on Linux a code beyond 255 arrives as 255.
DWORD ObservableExitCode(int code);

// A built program's path as CMake gives it (a host path), in the form this
// test's file calls and RunProgram take; under Wine, Z: stands for the host's
// root.
WString BuiltProgram(const char *hostPath);

// A path of this test's in the Windows form the program itself sees and
// shows (Linux: the resolved path with backslashes).
WString PathAsProgramSees(const WString &path);

// Copies a program file (keeping it executable) to `to`.
bool CopyProgram(const WString &from, const WString &to);

// The name of a program file as the platform spells it: "name.exe" on
// Windows, "name" on Linux.
WString ProgramFileName(const WString &name);

// A clean registry for the program runs of one test, for the life of the
// object: on Linux a store file of its own (ADDBAR_REGISTRY, set for this
// process, so the test's own registry calls and the programs it starts share
// it); on Windows the key `keyPath` under HKEY_CURRENT_USER is deleted before
// and after. Under Wine every test that uses it takes the CTest resource lock
// "wine_registry", since the key is shared.
class ScopedProgramRegistry {
 public:
  explicit ScopedProgramRegistry(const WString &keyPath);
  ~ScopedProgramRegistry();
  ScopedProgramRegistry(const ScopedProgramRegistry &) = delete;
  ScopedProgramRegistry &operator=(const ScopedProgramRegistry &) = delete;

 private:
  WString m_keyPath;
  TempDir m_folder;
  ScopedEnvironment *m_environment;
};

}  // namespace testing_support
