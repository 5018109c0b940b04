// Which files are UTF-16: only those that start with the UTF-16LE byte-order
// mark. Every other file is 8-bit text, whatever its first bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

class ProfileEncoding : public ProfileFileTest {};

// "é€😀": two units from the BMP and a surrogate pair.
const char kWideText[] = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";

TEST_F(ProfileEncoding, Utf16FileIsReadAsUtf16) {
  Store(Utf16Bytes(std::string("[s\xC3\xA9]\r\nk=") + kWideText + "\r\n"));
  EXPECT_EQ(kWideText, ReadValue(PathText(), "s\xC3\xA9", "k"));
  EXPECT_EQ((std::vector<std::string>{"s\xC3\xA9"}), ListStrings(SectionNames(PathText(), 20)));
}

TEST_F(ProfileEncoding, Utf16FileIsEditedAsUtf16) {
  Store(Utf16Bytes("[s]\r\nk=1\r\n;c\r\n"));
  WString wide = testing_support::Wide(kWideText);
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), wide.c_str(), Path()));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("j"), TEXT("2"), Path()));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("t"), TEXT("x"), TEXT("3"), Path()));
  EXPECT_EQ(kWideText, ReadValue(PathText(), "s", "k"));
  testing_support::KnownWineDifference(
      "Wine puts a new key after the section's trailing comments", [&] {
        EXPECT_EQ(
            Utf16Bytes(std::string("[s]\r\nk=") + kWideText + "\r\nj=2\r\n;c\r\n[t]\r\nx=3\r\n"),
            Stored());
      });
}

TEST_F(ProfileEncoding, MarkAloneMakesTheWritesUtf16) {
  Store("\xFF\xFE");
  EXPECT_TRUE(ListStrings(SectionNames(PathText(), 10)).empty());
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("v"), Path()));
  EXPECT_EQ(Utf16Bytes("[s]\r\nk=v\r\n"), Stored());
}

TEST_F(ProfileEncoding, Utf8MarkIsPartOfTheFirstLine) {
  const char kWineSkipsTheMark[] = "Wine takes EF BB BF for a UTF-8 mark and skips it";
  Store("\xEF\xBB\xBF[s]\r\nk=v\r\n[t]\r\nj=w\r\n");
  testing_support::KnownWineDifference(
      kWineSkipsTheMark, [&] { EXPECT_EQ(kMissing, ReadValue(PathText(), "s", "k")); });
  EXPECT_EQ("w", ReadValue(PathText(), "t", "j"));
  testing_support::KnownWineDifference(kWineSkipsTheMark, [&] {
    EXPECT_EQ((std::vector<std::string>{"t"}), ListStrings(SectionNames(PathText(), 20)));
  });
}

TEST_F(ProfileEncoding, Utf8MarkOnItsOwnLineChangesNothing) {
  Store("\xEF\xBB\xBF\r\n[s]\r\nk=v\r\n");
  EXPECT_EQ("v", ReadValue(PathText(), "s", "k"));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("w"), Path()));
  testing_support::KnownWineDifference("Wine writes the whole file anew, without blank lines", [&] {
    EXPECT_EQ("\xEF\xBB\xBF\r\n[s]\r\nk=w\r\n", Stored());
  });
}

TEST_F(ProfileEncoding, BigEndianMarkIsNotRecognised) {
  std::string bigEndian = "\xFE\xFF";
  for (char c : std::string("[s]\r\nk=v\r\n")) bigEndian += std::string(1, '\0') + c;
  Store(bigEndian);
  testing_support::KnownWineDifference("Wine reads a file that starts with FE FF as UTF-16BE", [&] {
    EXPECT_EQ(kMissing, ReadValue(PathText(), "s", "k"));
  });
}

}  // namespace
}  // namespace profile_test
