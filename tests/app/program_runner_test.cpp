// The program runner itself, on a program whose behaviour the test chooses:
// this test program, started again in a child mode.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "support/program_runner.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const char kChildMode[] = "ADDBAR_RUNNER_CHILD";

// Runs before the tests: a started child does what it is told and ends.
bool ActAsChildWhenAsked() {
  const char *mode = std::getenv(kChildMode);
  if (mode == nullptr) return false;
  if (std::string(mode) == "wait") {
    for (;;) Sleep(1000);
  }
  // "report": the variable's value into a file of the working folder.
  const char *value = std::getenv("ADDBAR_RUNNER_VALUE");
  WriteBytes(Wide("report.txt"), value == nullptr ? "(unset)" : value);
  ExitProcess(300);
}

const bool kActedAsChild = ActAsChildWhenAsked();

ProgramRequest ChildRequest(const char *mode) {
  ProgramRequest request;
  request.program = BuiltProgram(ADDBAR_RUNNER_TEST_PATH);
  request.environment.emplace_back(kChildMode, mode);
  return request;
}

TEST(ProgramRunner, PassesEnvironmentAndWorkingFolderAndReturnsTheExitCode) {
  ASSERT_FALSE(kActedAsChild);
  TempDir folder;
  ProgramRequest request = ChildRequest("report");
  request.workingDirectory = folder.Path();
  request.environment.emplace_back("ADDBAR_RUNNER_VALUE", "two words");
  ProgramRun run = RunProgram(request);
  ASSERT_TRUE(run.ended) << run.failure << run.diagnostics;
  EXPECT_EQ(ObservableExitCode(300), run.exitCode);
  EXPECT_EQ("two words", ReadBytes(folder.File("report.txt")));
  EXPECT_TRUE(run.boxes.empty());
}

TEST(ProgramRunner, StopsAProgramThatDoesNotEndInTime) {
  ProgramRequest request = ChildRequest("wait");
  request.timeoutMs = 1500;
  auto start = std::chrono::steady_clock::now();
  ProgramRun run = RunProgram(request);
  auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start)
          .count();
  EXPECT_FALSE(run.ended);
  EXPECT_NE(std::string::npos, run.failure.find("no end within 1500 ms")) << run.failure;
  // Generous, yet well short of the default limit of a minute, which the
  // runner must not have waited out instead.
  EXPECT_LT(seconds, 40);
}

TEST(ProgramRunner, SaysWhyAProgramCouldNotStart) {
  TempDir folder;
  ProgramRequest request;
  request.program = folder.File(ProgramFileName(Wide("missing")));
  ProgramRun run = RunProgram(request);
  EXPECT_FALSE(run.ended);
  EXPECT_NE(std::string::npos, run.failure.find("can't start")) << run.failure;
}

}  // namespace
