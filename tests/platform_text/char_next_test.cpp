#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/test_support.h"

namespace {

// The offsets of the character starts CharNextW visits, up to the terminator.
std::vector<int> Steps(const WString &text) {
  std::vector<int> offsets;
  LPCWSTR start = text.c_str();
  LPCWSTR p = start;
  while (*p != 0) {
    p = CharNextW(p);
    offsets.push_back(static_cast<int>(p - start));
  }
  return offsets;
}

TEST(CharStep, StepsOneUnitOverPlainText) {
  const WCHAR text[] = {'a', '/', 0xE9, 0x3000, 0};
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), Steps(text));
}

TEST(CharStep, StaysAtTheTerminator) {
  const WCHAR text[] = {'x', 0};
  EXPECT_EQ(text + 1, CharNextW(text + 1));
  EXPECT_EQ(text + 1, CharNextW(CharNextW(text)));
}

struct MarkCase {
  std::vector<WCHAR> text;
  std::vector<int> steps;
};

// Windows documents that a step takes the combining marks after a character along.
TEST(CharStep, TakesCombiningMarksWithTheCharacter) {
  const MarkCase cases[] = {
      {{'a', 0x030A}, {2}},
      {{'a', 0x0301, 0x0302, 0x0303, 0x0304}, {5}},
      {{'a', 0x0301, 'b', 'c', 0x0327}, {2, 3, 5}},
      {{'e', 0x20DD, '/'}, {2, 3}},  // enclosing mark
  };
  for (const MarkCase &c : cases) {
    testing_support::KnownWineDifference("Wine steps one code unit at a time", [&] {
      EXPECT_EQ(c.steps, Steps(WString(c.text.begin(), c.text.end())));
    });
  }
}

// How Windows steps over surrogate pairs is not documented; the stand-in keeps a
// pair together, as a reader sees one character.
TEST(CharStep, KeepsASurrogatePairTogether) {
  SKIP_UNLESS_STANDIN("undocumented on Windows");
  const WCHAR text[] = {0xD83D, 0xDE00, 'x', 0xDC00, 0};
  EXPECT_EQ((std::vector<int>{2, 3, 4}), Steps(text));
}

}  // namespace
