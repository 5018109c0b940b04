// What the read calls return when the caller's buffer is too small: a single
// value is cut and terminated; a list has its last string cut and two nulls.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

struct ValueCase {
  DWORD size;
  DWORD returned;
  const char *text;
};

void PrintTo(const ValueCase &c, std::ostream *out) { *out << "size " << c.size; }

class ValueTruncation : public ProfileFileTest, public testing::WithParamInterface<ValueCase> {};

TEST_P(ValueTruncation, CutsAndTerminates) {
  const ValueCase &c = GetParam();
  Store("[s]\r\nk=val1\r\n");
  std::vector<WCHAR> buffer(c.size + 1, 0xCCCC);
  EXPECT_EQ(c.returned,
            GetPrivateProfileStringW(TEXT("s"), TEXT("k"), nullptr, buffer.data(), c.size, Path()));
  EXPECT_EQ(c.text, Units(buffer, c.returned));
  EXPECT_EQ(0, buffer[c.returned]);
  EXPECT_EQ(0xCCCC, buffer[c.size]) << "wrote past the buffer";
}

TEST_P(ValueTruncation, CutsTheDefaultAlike) {
  const ValueCase &c = GetParam();
  Store("[s]\r\n");
  std::vector<WCHAR> buffer(c.size + 1, 0xCCCC);
  EXPECT_EQ(c.returned, GetPrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("val1"), buffer.data(),
                                                 c.size, Path()));
  EXPECT_EQ(c.text, Units(buffer, c.returned));
  EXPECT_EQ(0xCCCC, buffer[c.size]);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ValueTruncation,
                         testing::Values(ValueCase{1, 0, ""}, ValueCase{2, 1, "v"},
                                         ValueCase{4, 3, "val"}, ValueCase{5, 4, "val1"},
                                         ValueCase{6, 4, "val1"}));

TEST_F(ProfileFileTest, SizeZeroLeavesTheBufferAlone) {
  Store("[s]\r\nk=val1\r\n");
  WCHAR buffer[2] = {'x', 'x'};
  EXPECT_EQ(0u, GetPrivateProfileStringW(TEXT("s"), TEXT("k"), nullptr, buffer, 0, Path()));
  EXPECT_EQ('x', buffer[0]);
  EXPECT_EQ(0u, GetPrivateProfileSectionNamesW(buffer, 0, Path()));
  EXPECT_EQ('x', buffer[0]);
}

enum class ListKind { SectionNames, NullSection, KeyNames, SectionLines };

struct ListCase {
  ListKind kind;
  DWORD size;
  DWORD returned;
  const char *units;  // the start of the buffer, nulls as '|'
  // Why Wine returns something else, and why it fills the buffer otherwise;
  // null where it does not.
  const char *wineReturnDiffers;
  const char *wineUnitsDiffer = nullptr;
};

void PrintTo(const ListCase &c, std::ostream *out) {
  static const char *const kinds[] = {"section names", "null section", "key names",
                                      "section lines"};
  *out << kinds[static_cast<int>(c.kind)] << ", size " << c.size;
}

class ListTruncation : public ProfileFileTest, public testing::WithParamInterface<ListCase> {};

TEST_P(ListTruncation, CutsTheLastStringAndEndsWithTwoNulls) {
  const ListCase &c = GetParam();
  // Section names and lines hold 18 units before the final null, keys 10.
  Store("[section1]\r\nkey1=v\r\nkey2\r\n;no=no\r\nkey3=\r\n[section2]\r\n");
  ListResult result;
  switch (c.kind) {
    case ListKind::SectionNames:
      result = SectionNames(PathText(), c.size);
      break;
    case ListKind::NullSection:
      result = KeyNames(PathText(), nullptr, c.size);
      break;
    case ListKind::KeyNames:
      result = KeyNames(PathText(), "section1", c.size);
      break;
    case ListKind::SectionLines:
      result = SectionLines(PathText(), "section1", c.size);
      break;
  }
  testing_support::KnownWineDifference(c.wineReturnDiffers,
                                       [&] { EXPECT_EQ(c.returned, result.returned); });
  testing_support::KnownWineDifference(
      c.wineUnitsDiffer, [&] { EXPECT_EQ(c.units, Units(result.buffer, std::strlen(c.units))); });
}

// Sizes around the full length: a list that would fill the buffer exactly,
// final null included, counts as too long, though nothing of it is lost.
INSTANTIATE_TEST_SUITE_P(
    Sizes, ListTruncation,
    testing::Values(ListCase{ListKind::SectionNames, 100, 18, "section1|section2||", nullptr},
                    ListCase{ListKind::SectionNames, 20, 18, "section1|section2||", nullptr},
                    ListCase{ListKind::SectionNames, 19, 17, "section1|section2||", nullptr},
                    ListCase{ListKind::SectionNames, 16, 14, "section1|secti||", nullptr},
                    ListCase{ListKind::SectionNames, 10, 8, "section1||", nullptr},
                    ListCase{ListKind::SectionNames, 2, 0, "||", nullptr},
                    ListCase{ListKind::SectionNames, 1, 0, "|", nullptr},
                    ListCase{ListKind::NullSection, 20, 18, "section1|section2||", nullptr},
                    ListCase{ListKind::NullSection, 16, 14, "section1|secti||", nullptr},
                    ListCase{ListKind::KeyNames, 100, 10, "key1|key3||", nullptr},
                    ListCase{ListKind::KeyNames, 12, 10, "key1|key3||", nullptr},
                    ListCase{ListKind::KeyNames, 11, 9, "key1|key3||", nullptr},
                    ListCase{ListKind::KeyNames, 8, 6, "key1|k||", nullptr},
                    ListCase{ListKind::SectionLines, 100, 18, "key1=v|key2|key3=||", nullptr},
                    ListCase{ListKind::SectionLines, 20, 18, "key1=v|key2|key3=||", nullptr},
                    ListCase{ListKind::SectionLines, 19, 17, "key1=v|key2|key3=||", nullptr},
                    ListCase{ListKind::SectionLines, 12, 10, "key1=v|key||", nullptr},
                    ListCase{ListKind::SectionLines, 2, 0, "||", nullptr,
                             "Wine ends the list with one null only"},
                    ListCase{ListKind::SectionLines, 1, 0, "|",
                             "Wine returns size - 2, 0xFFFFFFFF, for a buffer of one unit"}));

}  // namespace
}  // namespace profile_test
