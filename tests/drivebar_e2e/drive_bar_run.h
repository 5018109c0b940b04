// Running the built addbar (and the stand-in file manager) against a store
// of the file manager's settings: the registry or an INI file, in the
// default layout or a named one.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "drivebar/file_manager_store.h"
#include "drivebar_e2e/background_program.h"
#include "support/program_runner.h"
#include "support/test_support.h"

struct Scenario {
  StoreKind kind;
  const char *layout;  // "" = the default layout
};

std::string ScenarioName(const testing::TestParamInfo<Scenario> &info);
extern const Scenario kAllScenarios[4];

struct Drive {
  WCHAR letter;
  std::string root;  // "C:\"
};

extern const char kToolbars[];       // "MainFrame Settings\Toolbars"
extern const char kBookmarks[];      // "Favorites"
extern const char kBookmarkIcons[];  // "Favorites_icons"

// One store, with the toolbar settings a first run needs ("nToolbars" 3), a
// window folder of its own (Linux) and the drives A:, C: and D: (Linux; Wine
// has the drives of its prefix).
class DriveBarRun {
 public:
  explicit DriveBarRun(const Scenario &scenario);

  FileManagerStore &Store() { return *m_store; }
  // The drives as this process sees them, which the programs it starts see too.
  static std::vector<Drive> Drives();

  testing_support::ProgramRun RunAddbar(
      const std::vector<testing_support::BoxAnswer> &answers = {});
  // Starts the stand-in file manager on the same store with `options` added;
  // waits until its window can be found.
  std::unique_ptr<BackgroundProgram> StartFileManager(const std::vector<WString> &options);
  // Sends the window the close command, as addbar does.
  static void SendCloseCommand();

  // The final boxes, their texts and the exit codes that go with them.
  static void ExpectDone(const testing_support::ProgramRun &run, size_t buttons);
  static void ExpectError(const testing_support::ProgramRun &run, const std::string &error);

  // The drive bar's toolbar key, relative to the layout root.
  static std::string ToolbarKey(const std::string &name);
  // "%X_%05d" of a toolbar number and its id, as the file manager names toolbars.
  static std::string ToolbarName(int number);
  // Checks what every drive bar holds: the values and the command ids.
  void ExpectToolbar(const std::string &name, const std::vector<DWORD> &commandIds);
  // "nCmdIds" as its bytes.
  static std::string IdBytes(const std::vector<DWORD> &commandIds);
  // "%02X_%c", as the file manager names bookmarks.
  static std::string BookmarkName(DWORD number, WCHAR letter);
  // Fills "Favorites" with values that are no drive's bookmark.
  void AddOtherValues(int count);

 private:
  Scenario m_scenario;
  testing_support::ScopedProgramRegistry m_registry;
  testing_support::TempDir m_folder;
  testing_support::ScopedEnvironment m_windows;
  testing_support::ScopedEnvironment m_drives;
  std::unique_ptr<FileManagerStore> m_store;
};

// Parameterised over the four scenarios.
class DriveBarRunTest : public testing::TestWithParam<Scenario> {
 protected:
  DriveBarRunTest() : m_run(GetParam()) {}
  DriveBarRun m_run;
};
