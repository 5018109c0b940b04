#include "cmdline/command_tail.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

using testing_support::Wide;

namespace {

struct TailCase {
  const char *commandLine;
  const char *tail;
};

class CommandLineTail : public testing::TestWithParam<TailCase> {};

TEST_P(CommandLineTail, SkipsTheProgramNameAndTheBlanksAfterIt) {
  WString text = Wide(GetParam().commandLine);
  LPWSTR tail = FindCommandLineTail(text.data());
  EXPECT_EQ(Wide(GetParam().tail), WString(tail));
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineTail,
                         testing::Values(TailCase{"\"C:\\a b\\x.exe\" /S:two", "/S:two"},
                                         TailCase{"\"C:\\a b\\x.exe", ""},
                                         TailCase{"\"C:\\a b\\x.exe\"/S:two", "/S:two"},
                                         TailCase{"x.exe   /S:two /I:c", "/S:two /I:c"},
                                         TailCase{"x.exe\t\x01 a", "a"},
                                         TailCase{" x.exe /S:two", "x.exe /S:two"},
                                         TailCase{"x.exe", ""}, TailCase{"", ""},
                                         TailCase{"\"\" tail", "tail"}));

TEST(StartupShowCommand, IsAValidShowCommand) {
  int show = GetStartupShowCommand();
  EXPECT_GE(show, 0);
  EXPECT_LE(show, 11);
}

}  // namespace
