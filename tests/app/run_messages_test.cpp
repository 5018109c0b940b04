#include "app/run_messages.h"

#include <gtest/gtest.h>

#include "app/path_probe.h"
#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::Wide;

namespace {

WString Text(const CString &text) { return WString(static_cast<LPCWSTR>(text)); }

const char kClosing[] = "without arguments, it adds the lumenrail in default registry layout";

WString UsageNaming(const std::string &program) {
  return Wide("\n\nUSAGE:\n" + program + " [/S:layout /I:ini_file]\n" + kClosing);
}

struct SuccessCase {
  int buttons;
  int length;
};

class SuccessTexts : public testing::TestWithParam<SuccessCase> {};

TEST_P(SuccessTexts, CountTheButtonsAndAskForARestart) {
  CString text = MakeSuccessText(GetParam().buttons);
  EXPECT_EQ(Wide("added 'drivebar' with " + std::to_string(GetParam().buttons) +
                 " buttons\nPlease restart your vantrove"),
            Text(text));
  EXPECT_EQ(GetParam().length, text.GetLength());
}

INSTANTIATE_TEST_SUITE_P(Table, SuccessTexts,
                         testing::Values(SuccessCase{0, 60}, SuccessCase{9, 60},
                                         SuccessCase{12, 61}, SuccessCase{26, 61}));

struct UsageCase {
  const char *commandLine;
  const char *programName;
};

class UsageTexts : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageTexts, NameTheProgramByTheFileNameOfArgumentZero) {
  CCommandLineArgs args('"');
  WString line = Wide(GetParam().commandLine);
  args.Parse(line.c_str());
  CAppInfo info;
  EXPECT_EQ(UsageNaming(GetParam().programName), Text(MakeUsageText(args, info)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, UsageTexts,
    testing::Values(UsageCase{"C:\\tools\\addbar.exe /S:x", "addbar.exe"},
                    UsageCase{"\"C:\\My Tools\\add bar.exe\" /I:x.ini", "add bar.exe"},
                    UsageCase{"addbar", "addbar"}, UsageCase{"\\usr\\bin\\addbar", "addbar"},
                    // As written: a folder path names nothing.
                    UsageCase{"C:\\tools\\", ""}));

TEST(UsageText, WithoutArgumentZeroNamesTheModule) {
  CCommandLineArgs args('"');
  args.Parse(TEXT("   "));
  ASSERT_EQ(0, args.m_nArgs);
  CAppInfo info;
  info.m_modulePath = TEXT("C:\\tools\\addbar.exe");
  EXPECT_EQ(UsageNaming("addbar.exe"), Text(MakeUsageText(args, info)));
}

}  // namespace
