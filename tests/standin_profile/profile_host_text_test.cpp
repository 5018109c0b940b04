// 8-bit profile files on the stand-in are UTF-8, and bytes a write does not
// change stay as they were, UTF-8 or not.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

using testing_support::Wide;

class HostText : public ProfileFileTest {};

TEST_F(HostText, EightBitFilesReadAsUtf8) {
  Store("[gr\xC3\xBC\xC3\x9F]\r\nk=\xE2\x82\xAC \xF0\x9F\x98\x80\r\n");
  EXPECT_EQ("\xE2\x82\xAC \xF0\x9F\x98\x80", ReadValue(PathText(), "GR\xC3\x9C\xC3\x9F", "k"));
}

TEST_F(HostText, EightBitFilesAreWrittenAsUtf8) {
  Store("[s]\r\n");
  WString value = Wide("\xC3\xA9\xF0\x9F\x98\x80");
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), value.c_str(), Path()));
  EXPECT_EQ("[s]\r\nk=\xC3\xA9\xF0\x9F\x98\x80\r\n", Stored());
  // A lone surrogate has no UTF-8 spelling.
  const WCHAR lone[] = {'a', 0xD800, 'b', 0};
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), lone, Path()));
  EXPECT_EQ(
      "[s]\r\nk=a\xEF\xBF\xBD"
      "b\r\n",
      Stored());
}

TEST_F(HostText, InvalidBytesReadAsReplacementAndStayInTheFile) {
  const std::string before = "\xFF\xC3;\x80\r\n[s]\r\nbad=\xC3\x28\xFE\r\nk=1\r\n[t\xE2\x82]\r\n";
  Store(before);
  EXPECT_EQ("\xEF\xBF\xBD(\xEF\xBF\xBD", ReadValue(PathText(), "s", "bad"));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("2"), Path()));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("n"), TEXT("3"), Path()));
  EXPECT_EQ("\xFF\xC3;\x80\r\n[s]\r\nbad=\xC3\x28\xFE\r\nk=2\r\nn=3\r\n[t\xE2\x82]\r\n", Stored());
}

TEST_F(HostText, StrayByteOfAUtf16FileStaysLast) {
  Store(Utf16Bytes("[s]\r\nk=1\r\n") + "Z");
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("2"), Path()));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("t"), TEXT("j"), TEXT("3"), Path()));
  EXPECT_EQ(Utf16Bytes("[s]\r\nk=2\r\n[t]\r\nj=3\r\n") + "Z", Stored());
}

TEST_F(HostText, BigEndianFileGetsEightBitLines) {
  std::string bigEndian = "\xFE\xFF";
  for (char c : std::string("[s]\r\nk=v\r\n")) bigEndian += std::string(1, '\0') + c;
  Store(bigEndian);
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("w"), Path()));
  EXPECT_EQ(bigEndian + "[s]\r\nk=w\r\n", Stored());
}

TEST_F(HostText, Utf8MarkStaysBeforeTheFirstLine) {
  Store("\xEF\xBB\xBF[s]\r\nk=1\r\n");
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("2"), Path()));
  EXPECT_EQ("\xEF\xBB\xBF[s]\r\nk=1\r\n[s]\r\nk=2\r\n", Stored());
}

}  // namespace
}  // namespace profile_test
