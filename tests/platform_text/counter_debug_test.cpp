#include <windows.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/test_support.h"

namespace {

TEST(Interlocked, ReturnsTheNewValue) {
  LONG volatile value = 5;
  EXPECT_EQ(6, InterlockedIncrement(&value));
  EXPECT_EQ(5, InterlockedDecrement(&value));
  value = -1;
  EXPECT_EQ(0, InterlockedIncrement(&value));
  EXPECT_EQ(-1, InterlockedDecrement(&value));
}

TEST(Interlocked, LosesNoStepBetweenThreads) {
  LONG volatile counter = 0;
  const int kThreads = 4, kSteps = 100000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&counter, t] {
      for (int i = 0; i < kSteps; ++i) {
        if (t % 2 == 0) {
          InterlockedIncrement(&counter);
          InterlockedIncrement(&counter);
        } else {
          InterlockedDecrement(&counter);
        }
      }
    });
  }
  for (std::thread &thread : threads) thread.join();
  EXPECT_EQ(kThreads / 2 * kSteps, counter);
}

void ReportAndBreak(void *) {
  OutputDebugStringW(TEXT("float 100%\n"));
  DebugBreak();
}

TEST(DebugChannel, OutputReachesTheDebuggerAndTheBreakIsRaised) {
  testing_support::DebugTrap trap = testing_support::CatchDebugBreak(ReportAndBreak, nullptr);
  EXPECT_TRUE(trap.broke);
  EXPECT_EQ("float 100%\n", trap.output);
}

void ReportNonAscii(void *text) { OutputDebugStringW(static_cast<LPCWSTR>(text)); }

// The stand-in's debugger output is standard error, in UTF-8.
TEST(DebugChannel, StandInWritesUtf8) {
  SKIP_UNLESS_STANDIN("the debugger output of Windows is UTF-16 in an exception");
  const WCHAR text[] = {0xE9, 0x20AC, 0xD83D, 0xDE00, 0};
  testing_support::DebugTrap trap =
      testing_support::CatchDebugBreak(ReportNonAscii, const_cast<WCHAR *>(text));
  EXPECT_FALSE(trap.broke);
  EXPECT_EQ("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", trap.output);
}

}  // namespace
