#include "cmdline/command_line_args.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_support.h"

using testing_support::Wide;

namespace {

struct SplitCase {
  const char *commandLine;
  std::vector<const char *> arguments;
  BOOL quotedArg;
};

class CommandLineSplitting : public testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplitting, GivesTheArgumentsOfTheTable) {
  const SplitCase &c = GetParam();
  CCommandLineArgs args('"');
  WString text = Wide(c.commandLine);
  EXPECT_EQ(TRUE, args.Parse(text.c_str()));
  ASSERT_EQ(static_cast<int>(c.arguments.size()), args.m_nArgs);
  for (int i = 0; i < args.m_nArgs; ++i) {
    ASSERT_NE(nullptr, args.m_ppArgs[i]);
    EXPECT_EQ(Wide(c.arguments[i]), WString(static_cast<LPCWSTR>(*args.m_ppArgs[i])))
        << "argument " << i;
  }
  EXPECT_EQ(c.quotedArg, args.m_bQuotedArg);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineSplitting,
    testing::Values(
        SplitCase{"\"C:\\My Tools\\x.exe\" /S:two", {"C:\\My Tools\\x.exe", "/S:two"}, 0},
        SplitCase{"x.exe \"/I:my file.ini\"", {"x.exe", "/I:my file.ini"}, 1},
        SplitCase{"x.exe /I:\"my file.ini\"", {"x.exe", "/I:\"my", "file.ini\""}, 0},
        SplitCase{"x.exe \"abc def", {"x.exe", "abc def"}, 1},
        SplitCase{"x.exe \"abc\"def", {"x.exe", "abc", "def"}, 1},
        SplitCase{"x.exe \"\"", {"x.exe", ""}, 1}, SplitCase{"x.exe \"\"\"", {"x.exe", "", ""}, 1},
        SplitCase{"x.exe abc\"", {"x.exe", "abc\""}, 0},
        // White space of every C1_SPACE kind separates; runs count as one.
        SplitCase{"x.exe\t/S:a\r\n\x0B\x0C /I:b  ", {"x.exe", "/S:a", "/I:b"}, 0},
        SplitCase{"x.exe\xC2\xA0/S:a\xE3\x80\x80/I:b", {"x.exe", "/S:a", "/I:b"}, 0},
        SplitCase{"   x.exe   ", {"x.exe"}, 0},
        // A quoted program path sets no flag: only arguments from 1 on do.
        SplitCase{"\"x.exe\"", {"x.exe"}, 0}, SplitCase{"\"x y.exe", {"x y.exe"}, 0},
        SplitCase{"x.exe \"a  b\"   ", {"x.exe", "a  b"}, 1}));

class CommandLineWithoutArguments : public testing::TestWithParam<const char *> {};

TEST_P(CommandLineWithoutArguments, GivesNotEvenArgumentZero) {
  CCommandLineArgs args('"');
  WString text = Wide(GetParam());
  // An empty text means the process's own command line, so only blank text is
  // tried here.
  if (text.empty()) GTEST_SKIP();
  EXPECT_EQ(TRUE, args.Parse(text.c_str()));
  EXPECT_EQ(0, args.m_nArgs);
}

INSTANTIATE_TEST_SUITE_P(Blanks, CommandLineWithoutArguments,
                         testing::Values(" ", "\t\t", " \r\n ", "\xE3\x80\x80"));

TEST(CommandLineArgs, NullTextSplitsTheProcessCommandLine) {
  CCommandLineArgs args('"');
  EXPECT_EQ(TRUE, args.Parse(nullptr));
  ASSERT_GE(args.m_nArgs, 1);
  // Argument 0 is this test program itself.
  WString program(static_cast<LPCWSTR>(*args.m_ppArgs[0]));
  EXPECT_NE(WString::npos, program.find(Wide("cmdline_tests"))) << testing_support::Narrow(program);
}

TEST(CommandLineArgs, SwitchesBeginWithDashOrSlash) {
  CCommandLineArgs args('"');
  WString text = Wide("x.exe /S:a -i:b \"\" s:c \"/q\" \\x");
  args.Parse(text.c_str());
  ASSERT_EQ(7, args.m_nArgs);
  std::vector<BOOL> expected = {0, 1, 1, 0, 0, 1, 0};
  for (int i = 0; i < args.m_nArgs; ++i) EXPECT_EQ(expected[i], args.IsSwitch(i)) << i;
}

TEST(CommandLineArgs, FindTokenEndOfEachKind) {
  CCommandLineArgs args('"');
  WString text = Wide("\"ab\"cd ef \"gh");
  LPCWSTR p = text.c_str();
  EXPECT_EQ(p + 4, args.FindTokenEnd(p));         // right behind the closing quote
  EXPECT_EQ(p + 6, args.FindTokenEnd(p + 4));     // a plain token ends at white space
  EXPECT_EQ(p + 13, args.FindTokenEnd(p + 10));   // unclosed: to the end
  EXPECT_EQ(nullptr, args.FindTokenEnd(p + 13));  // at the terminator
  EXPECT_EQ(nullptr, args.FindTokenEnd(nullptr));
}

}  // namespace
