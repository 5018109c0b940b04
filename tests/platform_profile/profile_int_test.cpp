// GetPrivateProfileIntW: an optional sign and the decimal digits up to the
// first other character, wrapping at 32 bits.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

struct IntCase {
  const char *value;  // null = no such entry
  UINT expected;
  const char *wineDiffers = nullptr;
};

void PrintTo(const IntCase &c, std::ostream *out) {
  *out << (c.value == nullptr ? "(missing)" : c.value);
}

class ProfileInt : public ProfileFileTest, public testing::WithParamInterface<IntCase> {};

TEST_P(ProfileInt, ReadsTheNumberOfTheTable) {
  const IntCase &c = GetParam();
  Store(c.value == nullptr ? std::string("[s]\r\nj=1\r\n")
                           : std::string("[s]\r\nk=") + c.value + "\r\n");
  testing_support::KnownWineDifference(c.wineDiffers, [&] {
    EXPECT_EQ(c.expected, GetPrivateProfileIntW(TEXT("s"), TEXT("k"), 0x5A5A, Path()));
  });
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileInt,
    testing::Values(IntCase{nullptr, 0x5A5A}, IntCase{"1", 1}, IntCase{"+1", 1},
                    IntCase{"-1", 0xFFFFFFFFu}, IntCase{"0", 0}, IntCase{"-0", 0},
                    IntCase{"2147483647", 0x7FFFFFFFu}, IntCase{"2147483648", 0x80000000u},
                    IntCase{"4294967295", 0xFFFFFFFFu}, IntCase{"4294967296", 0},
                    IntCase{"4294967297", 1}, IntCase{"-4294967297", 0xFFFFFFFFu},
                    IntCase{"-559038741", 0xDEADBEEBu}, IntCase{"42A94967297", 42},
                    IntCase{"B4294967297", 0}, IntCase{"12 34", 12},
                    IntCase{"0x10", 0, "Wine reads a 0x prefix as hexadecimal"},
                    IntCase{"  77  ", 77}, IntCase{"-", 0}));

TEST_F(ProfileFileTest, IntOfMissingFileOrSectionIsTheDefault) {
  Store("[s]\r\nk=5\r\n");
  EXPECT_EQ(7u, GetPrivateProfileIntW(TEXT("t"), TEXT("k"), 7, Path()));
  EXPECT_EQ(0xFFFFFFF9u,
            GetPrivateProfileIntW(TEXT("s"), TEXT("k"), -7, Folder().File("absent.ini").c_str()));
  EXPECT_EQ(5u, GetPrivateProfileIntW(TEXT("S"), TEXT("K"), 7, Path()));
}

}  // namespace
}  // namespace profile_test
