// Section and key names a caller passes lose the spaces around them (not
// tabs), for reading and for writing; and the all-null write, which asks for
// a flush, reports zero.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

using testing_support::Wide;

const char kWineTrimsTabs[] = "Wine also drops tabs around a name asked for";
const char kWineKeepsTrailingSpaces[] = "Wine writes a new name with the spaces after it";

struct SpacedRead {
  const char *name;
  const char *section;
  const char *key;
  const char *expected;
  const char *wineDiffers;
};

void PrintTo(const SpacedRead &c, std::ostream *out) { *out << c.name; }

class SpacedNameReading : public ProfileFileTest, public testing::WithParamInterface<SpacedRead> {};

TEST_P(SpacedNameReading, FindsTheEntryOfTheTable) {
  const SpacedRead &c = GetParam();
  Store("[sec]\r\nkey=v\r\n");
  testing_support::KnownWineDifference(
      c.wineDiffers, [&] { EXPECT_EQ(c.expected, ReadValue(PathText(), c.section, c.key)); });
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpacedNameReading,
    testing::Values(SpacedRead{"SpacesAroundSection", "  sec  ", "key", "v", nullptr},
                    SpacedRead{"SpacesAroundKey", "sec", "  key  ", "v", nullptr},
                    SpacedRead{"SpacesAroundBoth", " sec", "key ", "v", nullptr},
                    SpacedRead{"TabBeforeSectionCounts", "\tsec", "key", kMissing, kWineTrimsTabs},
                    SpacedRead{"SpaceInsideCounts", "s ec", "key", kMissing, nullptr}),
    [](const testing::TestParamInfo<SpacedRead> &info) { return std::string(info.param.name); });

struct SpacedWrite {
  const char *name;
  std::string before;
  const char *section;
  const char *key;
  const char *value;
  std::string after;
  const char *wineDiffers;
};

void PrintTo(const SpacedWrite &c, std::ostream *out) { *out << c.name; }

class SpacedNameWriting : public ProfileFileTest,
                          public testing::WithParamInterface<SpacedWrite> {};

TEST_P(SpacedNameWriting, ChangesTheEntryOfTheTable) {
  const SpacedWrite &c = GetParam();
  Store(c.before);
  ASSERT_TRUE(WritePrivateProfileStringW(Wide(c.section).c_str(), Wide(c.key).c_str(),
                                         Wide(c.value).c_str(), Path()));
  testing_support::KnownWineDifference(c.wineDiffers, [&] { EXPECT_EQ(c.after, Stored()); });
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpacedNameWriting,
    testing::Values(SpacedWrite{"NewNamesWithoutSpaces", "", "   sec   ", "  key  ", " v ",
                                "[sec]\r\nkey= v \r\n", kWineKeepsTrailingSpaces},
                    SpacedWrite{"ExistingKeyChanged", "[sec]\r\nkey=1\r\n", " sec ", " key ", "2",
                                "[sec]\r\nkey=2\r\n", nullptr}),
    [](const testing::TestParamInfo<SpacedWrite> &info) { return std::string(info.param.name); });

TEST_F(ProfileFileTest, FlushReportsZeroAndWritesNothing) {
  const std::string before = "[s]\r\nk=1\r\n";
  Store(before);
  EXPECT_FALSE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, Path()));
  EXPECT_EQ(before, Stored());
}

}  // namespace
}  // namespace profile_test
