// The stand-in file manager: the drive bar it finds after a run, and its
// own options.
#include "drivebar_e2e/drive_bar_run.h"
#include "support/program_clock.h"

using testing_support::Wide;

namespace {

class FileManagerView : public testing::TestWithParam<Scenario> {
 protected:
  DriveBarRun m_run{GetParam()};
};

TEST_P(FileManagerView, ShowsTheDriveBarAfterARun) {
  std::vector<Drive> drives = DriveBarRun::Drives();
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());
  std::unique_ptr<BackgroundProgram> manager = m_run.StartFileManager({});
  std::string expected = "drive bar: 3_60162\n";
  for (size_t i = 0; i < drives.size(); ++i) {
    expected += "button " + std::to_string(i + 1) + ": " + drives[i].root + "\n";
  }
  expected += "window: vantrove_CommPort\n";
  EXPECT_EQ(manager->Output(), expected);
  if (FileManagerShowsToolbar()) {
    EXPECT_EQ(ShownButtonCount(), static_cast<int>(drives.size()));
    for (size_t i = 0; i < drives.size(); ++i) {
      EXPECT_EQ(ShownButtonIndex(40100 + static_cast<DWORD>(i)), static_cast<int>(i));
    }
  }
  DriveBarRun::SendCloseCommand();
  DWORD exitCode = 1;
  EXPECT_TRUE(manager->WaitForExit(kPatienceMs, exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST_P(FileManagerView, CommandsWithoutBookmarkAndShortIds) {
  FileManagerStore &store = m_run.Store();
  const std::string key = DriveBarRun::ToolbarKey("5_60164");
  store.SetString(StoreRoot::Layout, key, nullptr, "DRIVEBAR_F2");
  store.SetString(StoreRoot::Global, kBookmarks, "00_Q", "Q:\\");
  // 40100, 40107, then three bytes of no command.
  store.SetBinary(StoreRoot::Layout, key, "nCmdIds",
                  std::string("\xA4\x9C\x00\x00\xAB\x9C\x00\x00\x01\x02\x03", 11));
  std::unique_ptr<BackgroundProgram> manager = m_run.StartFileManager({});
  EXPECT_EQ(manager->Output(),
            "drive bar: 5_60164\nbutton 1: Q:\\\nbutton 2: ? (command 40107)\n"
            "window: vantrove_CommPort\n");
}

TEST_P(FileManagerView, NoDriveBar) {
  std::unique_ptr<BackgroundProgram> manager = m_run.StartFileManager({});
  EXPECT_EQ(manager->Output(), "drive bar: none\nwindow: vantrove_CommPort\n");
}

INSTANTIATE_TEST_SUITE_P(Stores, FileManagerView, testing::ValuesIn(kAllScenarios), ScenarioName);

class CloseDelayOption : public testing::TestWithParam<const char *> {
 protected:
  DriveBarRun m_run{Scenario{StoreKind::Ini, ""}};
};

TEST_P(CloseDelayOption, OtherValuesAreRefused) {
  BackgroundProgram manager(testing_support::BuiltProgram(FM_STANDIN_PROGRAM_PATH),
                            {Wide(GetParam())});
  DWORD exitCode = 0;
  ASSERT_TRUE(manager.WaitForExit(kPatienceMs, exitCode));
  EXPECT_EQ(exitCode, 2u);
  EXPECT_EQ(FindWindowW(nullptr, Wide("vantrove_CommPort").c_str()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Values, CloseDelayOption,
                         testing::Values("/D:", "/D:soon", "/D:1,2", "/D:-1", "/D:1.2.3",
                                         "/D:99999999", "-d:."));

class CloseDelayTiming : public testing::TestWithParam<std::tuple<const char *, uint64_t>> {
 protected:
  DriveBarRun m_run{Scenario{StoreKind::Ini, ""}};
};

// Timed on the clock the stand-in times its delay by: the first reading is
// taken before the command goes, the second after the end is seen, so the
// delay lies within them.
TEST_P(CloseDelayTiming, QuitsThatLongAfterTheCloseCommand) {
  const uint64_t delay = std::get<1>(GetParam());
  std::unique_ptr<BackgroundProgram> manager =
      m_run.StartFileManager({Wide(std::get<0>(GetParam()))});
  const uint64_t start = testing_support::ProgramClockMs();
  DriveBarRun::SendCloseCommand();
  DWORD exitCode = 1;
  ASSERT_TRUE(manager->WaitForExit(kPatienceMs, exitCode));
  const uint64_t took = testing_support::ProgramClockMs() - start;
  EXPECT_EQ(exitCode, 0u);
  EXPECT_GE(took + testing_support::ProgramTimerSlackMs(), delay);
  // Generous: it goes in its own time, not never; a busy machine may be slow
  // to end it and to see it end.
  EXPECT_LT(took, delay + 20000);
}

INSTANTIATE_TEST_SUITE_P(Delays, CloseDelayTiming,
                         testing::Values(std::make_tuple("/D:0", uint64_t{0}),
                                         std::make_tuple("/D:.5", uint64_t{500}),
                                         std::make_tuple("-d:1.25", uint64_t{1250}),
                                         std::make_tuple("/D:2", uint64_t{2000})));

}  // namespace
