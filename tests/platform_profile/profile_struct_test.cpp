// WritePrivateProfileStructW and GetPrivateProfileStructW: bytes as upper-case
// hex digits followed by a checksum byte, checked on the way back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

class ProfileStruct : public ProfileFileTest {};

TEST_F(ProfileStruct, WritesHexDigitsAndChecksum) {
  char abacus[] = "abacus";
  ASSERT_TRUE(WritePrivateProfileStructW(TEXT("s"), TEXT("key"), abacus, sizeof abacus, Path()));
  EXPECT_EQ("[s]\r\nkey=616261637573006F\r\n", Stored());

  BYTE wide[] = {0xA4, 0x9C, 0x00, 0x00, 0xA5, 0x9C, 0x00, 0x00};
  ASSERT_TRUE(WritePrivateProfileStructW(TEXT("s"), TEXT("bin"), wide, sizeof wide, Path()));
  EXPECT_EQ("A49C0000A59C000081", ReadValue(PathText(), "s", "bin"));
}

TEST_F(ProfileStruct, RoundTripsEveryByteValue) {
  BYTE all[256];
  for (int i = 0; i < 256; ++i) all[i] = static_cast<BYTE>(255 - i);
  ASSERT_TRUE(WritePrivateProfileStructW(TEXT("s"), TEXT("all"), all, sizeof all, Path()));
  BYTE back[256] = {};
  ASSERT_TRUE(GetPrivateProfileStructW(TEXT("S"), TEXT("ALL"), back, sizeof back, Path()));
  EXPECT_EQ(0, std::memcmp(all, back, sizeof all));
}

struct StructCase {
  const char *name;
  const char *stored;  // the entry's text; null = no entry
  UINT size;
  const char *expected;  // the bytes read, or null when the call fails
  DWORD error;           // last error of a failing call
};

void PrintTo(const StructCase &c, std::ostream *out) { *out << c.name; }

class StructReading : public ProfileFileTest, public testing::WithParamInterface<StructCase> {};

TEST_P(StructReading, ChecksLengthAndChecksum) {
  const StructCase &c = GetParam();
  Store(c.stored == nullptr ? std::string("[s]\r\n")
                            : std::string("[s]\r\nkey=") + c.stored + "\r\n");
  char buffer[16];
  std::memset(buffer, 0x55, sizeof buffer);
  SetLastError(0xDEADBEEF);
  BOOL ok = GetPrivateProfileStructW(TEXT("s"), TEXT("key"), buffer, c.size, Path());
  if (c.expected != nullptr) {
    ASSERT_TRUE(ok);
    EXPECT_EQ(0, std::memcmp(c.expected, buffer, c.size));
    return;
  }
  EXPECT_FALSE(ok);
  const DWORD error = GetLastError();
  testing_support::KnownWineDifference("Wine's last error after a rejected structure",
                                       [&] { EXPECT_EQ(c.error, error); });
}

INSTANTIATE_TEST_SUITE_P(
    Table, StructReading,
    testing::Values(StructCase{"Matching", "616261637573006F", 7, "abacus", 0},
                    StructCase{"OtherBytesRightSum", "6361637475730083", 7, "cactus", 0},
                    StructCase{"TooShortForSize", "616261637573006F", 8, nullptr, ERROR_BAD_LENGTH},
                    StructCase{"TooLongForSize", "616261637573006F", 6, nullptr, ERROR_BAD_LENGTH},
                    StructCase{"WrongChecksum", "636163747573006F", 7, nullptr, ERROR_INVALID_DATA},
                    StructCase{"NotHex", "636163747573008Q", 7, nullptr, ERROR_INVALID_DATA},
                    StructCase{"OddDigitCount", "16361637475730083", 7, nullptr, ERROR_BAD_LENGTH},
                    StructCase{"Missing", nullptr, 7, nullptr, ERROR_BAD_LENGTH}),
    [](const testing::TestParamInfo<StructCase> &info) { return std::string(info.param.name); });

TEST_F(ProfileStruct, NullDataDeletesTheEntry) {
  Store("[s]\r\nkey=616261637573006F\r\n");
  ASSERT_TRUE(WritePrivateProfileStructW(TEXT("s"), TEXT("key"), nullptr, 7, Path()));
  EXPECT_EQ("[s]\r\n", Stored());
}

}  // namespace
}  // namespace profile_test
