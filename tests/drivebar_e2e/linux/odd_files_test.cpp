// The built addbar on the Linux stand-in, given files a hostile user could
// set up: a FIFO for the INI file or the registry store (it must not wait
// for a writer), and an INI path whose bytes are not UTF-8 (it must edit
// that very file, never the one its U+FFFD spelling names).
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

TEST_F(OddFiles, AFifoAsTheIniFileIsNoSettings) {
  const std::string fifo = Folder() + "/settings.ini";
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  DriveBarRun::ExpectError(Run({Wide("/I:" + fifo)}), "cannot locate toolbar settings");
}

TEST_F(OddFiles, AFifoAsTheRegistryStoreIsNoSettings) {
  const std::string fifo = Folder() + "/registry.reg";
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  ProgramRun run = Run({}, {{"ADDBAR_REGISTRY", fifo}});
  DriveBarRun::ExpectError(run, "cannot locate toolbar settings");
  EXPECT_NE(std::string::npos, run.diagnostics.find(fifo + " can't be read")) << run.diagnostics;
}

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
