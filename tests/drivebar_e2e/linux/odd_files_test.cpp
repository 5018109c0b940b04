// The built addbar on the Linux stand-in, given settings files it can't use:
// a FIFO for the INI file or the registry store (it must not wait for a
// writer), read-only files and a missing store; each run says on standard
// error which file and why. And an INI path whose bytes are not UTF-8 (it
// must edit that very file, never the one its U+FFFD spelling names).
#include <sys/stat.h>

#include <string>

#include "drivebar_e2e/drive_bar_run.h"

using testing_support::Narrow;
using testing_support::ProgramRequest;
using testing_support::ProgramRun;
using testing_support::Wide;

namespace {

const std::string kSettings = "[vantrove_UC\\MainFrame Settings\\Toolbars]\r\nnToolbars=3\r\n";

class OddFiles : public testing::Test {
 protected:
  OddFiles()
      : m_registry(Wide("Software\\Harrowmede Plc")),
        m_windows("ADDBAR_WINDOWS", Narrow(m_folder.File("windows")).c_str()),
        m_drives("ADDBAR_DRIVES", "ACD") {}

  ProgramRun Run(const std::vector<WString> &arguments,
                 const std::vector<std::pair<std::string, std::string>> &environment = {}) {
    ProgramRequest request;
    request.program = testing_support::BuiltProgram(ADDBAR_PROGRAM_PATH);
    request.arguments = arguments;
    request.environment = environment;
    request.workingDirectory = m_folder.Path();
    ProgramRun run = testing_support::RunProgram(request);
    EXPECT_TRUE(run.ended) << run.failure << "\n" << run.diagnostics;
    return run;
  }

  std::string Folder() const { return Narrow(m_folder.Path()); }

  testing_support::ScopedProgramRegistry m_registry;
  testing_support::TempDir m_folder;
  testing_support::ScopedEnvironment m_windows;
  testing_support::ScopedEnvironment m_drives;
};

enum class Store { Ini, Registry };

struct UnusableFile {
  const char *label;
  Store store;
  bool (*make)(const std::string &path);  // puts the file in place
  const char *error;                      // the box's error
  const char *cause;                      // follows the path on standard error
};

bool MakeFifo(const std::string &path) { return mkfifo(path.c_str(), 0600) == 0; }

bool MakeNothing(const std::string &) { return true; }

// Settings with the toolbars, which only a write can then fail on.
bool MakeReadOnlySettings(const std::string &path, const std::string &bytes) {
  testing_support::WriteBytes(Wide(path), bytes);
  return chmod(path.c_str(), 0444) == 0;
}

const std::string kRegistrySettings = testing_support::Utf16File(
    Wide("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Harrowmede "
         "Plc\\vantrove_UC\\MainFrame Settings\\Toolbars]\r\n\"nToolbars\"=dword:00000003\r\n"));

class UnusableSettings : public OddFiles, public testing::WithParamInterface<UnusableFile> {};

TEST_P(UnusableSettings, SaysWhichFileAndWhy) {
  const UnusableFile &file = GetParam();
  const bool ini = file.store == Store::Ini;
  const std::string path = Folder() + (ini ? "/settings.ini" : "/registry.reg");
  ASSERT_TRUE(file.make(path)) << file.label;
  ProgramRun run = ini ? Run({Wide("/I:" + path)}) : Run({}, {{"ADDBAR_REGISTRY", path}});
  DriveBarRun::ExpectError(run, file.error);
  const std::string line = std::string("addbar: the ") + (ini ? "INI file " : "registry store ") +
                           path + " " + file.cause;
  EXPECT_NE(std::string::npos, run.diagnostics.find(line)) << file.label << "\n" << run.diagnostics;
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnusableSettings,
    testing::Values(
        UnusableFile{"FIFO as the INI file", Store::Ini, MakeFifo, "cannot locate toolbar settings",
                     "can't be read: it is not a regular file"},
        UnusableFile{"FIFO as the registry store", Store::Registry, MakeFifo,
                     "cannot locate toolbar settings", "can't be read: it is not a regular file"},
        UnusableFile{"no registry store", Store::Registry, MakeNothing,
                     "cannot locate toolbar settings", "does not exist"},
        UnusableFile{"INI file without the toolbars", Store::Ini,
                     [](const std::string &path) {
                       testing_support::WriteBytes(Wide(path), "[other]\r\nx=1\r\n");
                       return true;
                     },
                     "cannot locate toolbar settings", "holds no toolbar settings"},
        UnusableFile{"read-only INI file", Store::Ini,
                     [](const std::string &path) {
                       return MakeReadOnlySettings(path,
                                                   testing_support::Utf16File(Wide(kSettings)));
                     },
                     "cannot write toolbar settings", "can't be written: it is read-only"},
        UnusableFile{
            "read-only registry store", Store::Registry,
            [](const std::string &path) { return MakeReadOnlySettings(path, kRegistrySettings); },
            "cannot write toolbar settings", "can't be written: it is read-only"}));

TEST_F(OddFiles, AnIniPathThatIsNotUtf8EditsThatFile) {
  const std::string settings = testing_support::Utf16File(Wide(kSettings));
  const std::string named = Folder() + "/x\xFF.ini";
  const std::string replacement = Folder() + "/x\xEF\xBF\xBD.ini";
  testing_support::WriteBytes(Wide(named), settings);
  testing_support::WriteBytes(Wide(replacement), settings);
  // Wide() spells the stray byte as U+DCFF, which the runner passes on as it.
  DriveBarRun::ExpectDone(Run({Wide("/I:" + named)}), 3);
  EXPECT_NE(settings, testing_support::ReadBytes(Wide(named)));
  EXPECT_EQ(settings, testing_support::ReadBytes(Wide(replacement)));
}

}  // namespace
