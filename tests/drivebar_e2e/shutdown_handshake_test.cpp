// The installer and a running file manager (the stand-in): asked to quit
// before any setting changes, prompted again while it stays, and a refusal
// that leaves the store as it was.
#include "drivebar_e2e/drive_bar_run.h"
#include "support/program_clock.h"

using testing_support::BoxAnswer;
using testing_support::Narrow;
using testing_support::ProgramRun;

namespace {

const char kPrompt[] = "click OK to quit vantrove";

void ExpectPrompt(const testing_support::ShownBox &box) {
  EXPECT_EQ(Narrow(box.caption), "Error");
  EXPECT_EQ(Narrow(box.text), kPrompt);
}

class Handshake : public testing::TestWithParam<Scenario> {
 protected:
  DriveBarRun m_run{GetParam()};
};

TEST_P(Handshake, FileManagerQuittingSoonIsAskedOnce) {
  std::unique_ptr<BackgroundProgram> manager =
      m_run.StartFileManager({testing_support::Wide("/D:1.2")});
  const uint64_t start = testing_support::ProgramClockMs();
  ProgramRun run = m_run.RunAddbar({BoxAnswer::Ok});
  const uint64_t took = testing_support::ProgramClockMs() - start;
  ASSERT_EQ(run.boxes.size(), 2u) << run.diagnostics;
  ExpectPrompt(run.boxes[0]);
  EXPECT_EQ(Narrow(run.boxes[1].caption), "done");
  // It went on only once the window had gone, 1.2 s after the close command,
  // by the clock the file manager times that by.
  EXPECT_GE(took + testing_support::ProgramTimerSlackMs(), 1200u);
  DWORD exitCode = 1;
  EXPECT_TRUE(manager->WaitForExit(kPatienceMs, exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(m_run.Store().SubKeys(StoreRoot::Layout, kToolbars),
            std::vector<std::string>{"3_60162"});
}

TEST_P(Handshake, FileManagerThatStaysIsAskedAgainAndCancelLeavesTheStore) {
  std::unique_ptr<BackgroundProgram> manager =
      m_run.StartFileManager({testing_support::Wide("/D:never")});
  std::string before = m_run.Store().Snapshot();
  ProgramRun run = m_run.RunAddbar({BoxAnswer::Ok, BoxAnswer::Cancel});
  ASSERT_EQ(run.boxes.size(), 2u) << run.diagnostics;
  ExpectPrompt(run.boxes[0]);
  ExpectPrompt(run.boxes[1]);
  EXPECT_EQ(run.exitCode, 100u);
  EXPECT_TRUE(m_run.Store().Snapshot() == before) << "the store changed";
  DWORD exitCode = 0;
  EXPECT_FALSE(manager->WaitForExit(0, exitCode)) << "it never quits";
}

TEST_P(Handshake, CancelAtOnceLeavesTheStore) {
  std::unique_ptr<BackgroundProgram> manager = m_run.StartFileManager({});
  std::string before = m_run.Store().Snapshot();
  ProgramRun run = m_run.RunAddbar({BoxAnswer::Cancel});
  ASSERT_EQ(run.boxes.size(), 1u) << run.diagnostics;
  ExpectPrompt(run.boxes[0]);
  EXPECT_EQ(run.exitCode, 100u);
  EXPECT_TRUE(m_run.Store().Snapshot() == before) << "the store changed";
}

TEST_P(Handshake, NoFileManagerNoPrompt) {
  // A prompt would take the Cancel and end the run with 100.
  DriveBarRun::ExpectDone(m_run.RunAddbar({BoxAnswer::Cancel}), DriveBarRun::Drives().size());
}

INSTANTIATE_TEST_SUITE_P(Stores, Handshake,
                         testing::Values(Scenario{StoreKind::Registry, ""},
                                         Scenario{StoreKind::Ini, "work"}),
                         ScenarioName);

// ---- The stand-in's window folder -----------------------------------------------------

class WindowFolder : public testing::Test {
 protected:
  void SetUp() override { SKIP_UNLESS_STANDIN("the window folder is the stand-in's"); }
  DriveBarRun m_run{Scenario{StoreKind::Ini, ""}};
  testing_support::TempDir m_elsewhere;
};

TEST_F(WindowFolder, MissingFolderMeansNoFileManager) {
  testing_support::ScopedEnvironment windows("ADDBAR_WINDOWS",
                                             Narrow(m_elsewhere.File("windows")).c_str());
  DriveBarRun::ExpectDone(m_run.RunAddbar({BoxAnswer::Cancel}), 3);
}

TEST_F(WindowFolder, UnwritableFolderHidesTheFileManager) {
  std::unique_ptr<BackgroundProgram> manager = m_run.StartFileManager({});
  ASSERT_TRUE(SetWindowFolderWritable(false));
  ProgramRun run = m_run.RunAddbar({BoxAnswer::Cancel});
  SetWindowFolderWritable(true);
  DriveBarRun::ExpectDone(run, 3);
}

TEST_F(WindowFolder, SocketOfAKilledFileManagerIsNoFileManager) {
  {
    std::unique_ptr<BackgroundProgram> manager = m_run.StartFileManager({});
    // Killed when it goes: its socket stays behind.
  }
  DriveBarRun::ExpectDone(m_run.RunAddbar({BoxAnswer::Cancel}), 3);
}

}  // namespace
