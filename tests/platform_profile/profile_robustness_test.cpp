// Files and arguments that are odd, huge or broken: each gives a defined
// result, never a crash or an overrun.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

class ProfileRobustness : public ProfileFileTest {};

TEST_F(ProfileRobustness, NullByteEndsAValueButNotTheLine) {
  Store(std::string("[s]\r\nk=a\0b\r\nj=2\r\n", 18));
  EXPECT_EQ("a", ReadValue(PathText(), "s", "k"));
  EXPECT_EQ("2", ReadValue(PathText(), "s", "j"));
}

TEST_F(ProfileRobustness, MegabyteLine) {
  const std::string big(1 << 20, 'x');
  Store("[s]\r\nk=" + big + "\r\nj=2\r\n");
  std::vector<WCHAR> buffer((1 << 20) + 10);
  EXPECT_EQ(1u << 20, GetPrivateProfileStringW(TEXT("s"), TEXT("k"), nullptr, buffer.data(),
                                               static_cast<DWORD>(buffer.size()), Path()));
  EXPECT_EQ("2", ReadValue(PathText(), "s", "j"));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("j"), TEXT("3"), Path()));
  EXPECT_EQ("[s]\r\nk=" + big + "\r\nj=3\r\n", Stored());
}

TEST_F(ProfileRobustness, HundredThousandSectionsListQuickly) {
  const int count = 100000;
  std::string content;
  for (int i = 0; i < count; ++i) {
    content += "[s" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
  }
  Store(content);
  std::vector<WCHAR> buffer(1 << 20);
  auto start = std::chrono::steady_clock::now();
  DWORD units =
      GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()), Path());
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::milliseconds(LISTING_TIME_LIMIT_MS));
  std::vector<std::string> names = ListStrings(ListResult{units, buffer});
  ASSERT_EQ(static_cast<size_t>(count), names.size());
  EXPECT_EQ("s99999", names.back());
  EXPECT_EQ("99999", ReadValue(PathText(), "s99999", "k"));
}

TEST_F(ProfileRobustness, FileWithoutLineBreaks) {
  Store("[s] k=v");
  EXPECT_EQ((std::vector<std::string>{"s"}), ListStrings(SectionNames(PathText(), 10)));
  EXPECT_EQ(kMissing, ReadValue(PathText(), "s", "k"));
  Store("k=v");
  EXPECT_TRUE(ListStrings(SectionNames(PathText(), 10)).empty());
}

TEST_F(ProfileRobustness, MarkWithAnOddByteAfterIt) {
  Store(
      "\xFF\xFE"
      "A");
  EXPECT_TRUE(ListStrings(SectionNames(PathText(), 10)).empty());
  Store(Utf16Bytes("[s]\r\nk=v\r\n") + "A");
  EXPECT_EQ("v", ReadValue(PathText(), "s", "k"));
}

TEST_F(ProfileRobustness, ValueOf65536Units) {
  const WString value(65536, 'q');
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), value.c_str(), Path()));
  std::vector<WCHAR> buffer(70000);
  EXPECT_EQ(65536u,
            GetPrivateProfileStringW(TEXT("s"), TEXT("k"), nullptr, buffer.data(), 70000, Path()));
  EXPECT_EQ(value, WString(buffer.data()));
  EXPECT_EQ(65535u,
            GetPrivateProfileStringW(TEXT("s"), TEXT("k"), nullptr, buffer.data(), 65536, Path()));
  EXPECT_EQ(0, buffer[65535]);
}

TEST_F(ProfileRobustness, NamesLongerThanTheBuffer) {
  const std::string longName(300, 'n');
  Store("[" + longName + "]\r\n" + longName + "=v\r\n");
  ListResult names = SectionNames(PathText(), 100);
  EXPECT_EQ(98u, names.returned);
  EXPECT_EQ(std::string(98, 'n') + "||", Units(names.buffer, 100));
  ListResult keys = KeyNames(PathText(), longName.c_str(), 50);
  EXPECT_EQ(48u, keys.returned);
  EXPECT_EQ(std::string(48, 'n') + "||", Units(keys.buffer, 50));
  ListResult lines = SectionLines(PathText(), longName.c_str(), 50);
  EXPECT_EQ(48u, lines.returned);
}

}  // namespace
}  // namespace profile_test
