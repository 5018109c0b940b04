#include <windows.h>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

struct CopyCase {
  int maxLength;
  const char *expected;  // the buffer afterwards; '#' is a unit left untouched
};

const CopyCase kCopies[] = {
    {0, "########"},  {1, "\0#######"}, {2, "a\0######"},  {4, "abc\0####"},
    {5, "abcd\0###"}, {8, "abcd\0###"}, {-1, "abcd\0###"},  // taken as unsigned: no bound
};

TEST(StringCopy, CopiesAtMostOneLessThanTheLengthAndTerminates) {
  const WCHAR source[] = {'a', 'b', 'c', 'd', 0};
  for (const CopyCase &c : kCopies) {
    WCHAR buffer[8];
    for (WCHAR &unit : buffer) unit = '#';
    EXPECT_EQ(buffer, lstrcpynW(buffer, source, c.maxLength)) << c.maxLength;
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(static_cast<WCHAR>(static_cast<unsigned char>(c.expected[i])), buffer[i])
          << "length " << c.maxLength << ", unit " << i;
    }
  }
}

TEST(StringCopy, NullPointersGiveNull) {
  WCHAR buffer[4] = {'#', '#', '#', '#'};
  const WCHAR source[] = {'a', 0};
  EXPECT_EQ(nullptr, lstrcpynW(nullptr, source, 4));
  EXPECT_EQ(nullptr, lstrcpynW(buffer, nullptr, 4));
}

TEST(StringLength, CountsUnitsAndBytesUpToTheTerminator) {
  const WCHAR wide[] = {'d', 0xE9, 0xD83D, 0xDE00, 0, 'x', 0};
  EXPECT_EQ(4, lstrlenW(wide));
  EXPECT_EQ(0, lstrlenW(wide + 4));
  EXPECT_EQ(0, lstrlenW(nullptr));
  EXPECT_EQ(5, lstrlenA("d\xC3\xA9!x"));
  EXPECT_EQ(0, lstrlenA(""));
  EXPECT_EQ(0, lstrlenA(nullptr));
}

}  // namespace
