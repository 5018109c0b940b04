// The start-up calls of the run: same results on Windows and the stand-in.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

TEST(ComStartUp, CountsInitialisationsPerThread) {
  EXPECT_EQ(S_OK, CoInitialize(nullptr));
  EXPECT_EQ(S_FALSE, CoInitialize(nullptr));
  CoUninitialize();
  CoUninitialize();
  // Balanced: the next start is a first one again.
  EXPECT_EQ(S_OK, CoInitialize(nullptr));
  CoUninitialize();
}

struct ControlsCase {
  DWORD size;
  DWORD classes;
  BOOL expected;
};

class CommonControlsStartUp : public testing::TestWithParam<ControlsCase> {};

TEST_P(CommonControlsStartUp, NeedsARecordOfItsOwnSize) {
  INITCOMMONCONTROLSEX record;
  record.dwSize = GetParam().size;
  record.dwICC = GetParam().classes;
  EXPECT_EQ(GetParam().expected, InitCommonControlsEx(&record));
}

INSTANTIATE_TEST_SUITE_P(Table, CommonControlsStartUp,
                         testing::Values(ControlsCase{8, ICC_BAR_CLASSES | ICC_COOL_CLASSES, TRUE},
                                         ControlsCase{8, ICC_BAR_CLASSES, TRUE},
                                         ControlsCase{0, ICC_BAR_CLASSES, FALSE},
                                         ControlsCase{12, ICC_BAR_CLASSES, FALSE}));

TEST(CommonControlsStartUp, RefusesANullRecord) { EXPECT_FALSE(InitCommonControlsEx(nullptr)); }

TEST(DefaultWindowProcedure, AnswersTheStartUpCallWithZero) {
  EXPECT_EQ(0, DefWindowProcW(nullptr, 0, 0, 0));
}

}  // namespace
