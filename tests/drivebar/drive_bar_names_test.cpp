// The names the drive bar gives to toolbar keys and bookmarks.
#include "app/drive_bar.h"

#include "support/test_support.h"

using testing_support::Narrow;

namespace {

struct ToolbarNameCase {
  DWORD number;
  DWORD id;
  const char *name;
};

class ToolbarKeyName : public testing::TestWithParam<ToolbarNameCase> {};

TEST_P(ToolbarKeyName, IsHexNumberAndFiveDigitId) {
  EXPECT_EQ(Narrow(WString(MakeToolbarKeyName(GetParam().number, GetParam().id))), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ToolbarKeyName,
    testing::Values(ToolbarNameCase{0, 60159, "0_60159"}, ToolbarNameCase{3, 60162, "3_60162"},
                    ToolbarNameCase{10, 60169, "A_60169"}, ToolbarNameCase{15, 60174, "F_60174"},
                    ToolbarNameCase{16, 60175, "10_60175"}, ToolbarNameCase{0, 42, "0_00042"},
                    ToolbarNameCase{0xFFFFFFFF, 60158, "FFFFFFFF_60158"}));

struct BookmarkNameCase {
  DWORD number;
  WCHAR letter;
  const char *name;
};

class BookmarkName : public testing::TestWithParam<BookmarkNameCase> {};

TEST_P(BookmarkName, IsTwoHexDigitsAndTheLetter) {
  EXPECT_EQ(Narrow(WString(MakeBookmarkName(GetParam().number, GetParam().letter))),
            GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Numbers, BookmarkName,
                         testing::Values(BookmarkNameCase{0, TEXT('A'), "00_A"},
                                         BookmarkNameCase{5, TEXT('C'), "05_C"},
                                         BookmarkNameCase{0x1B, TEXT('Z'), "1B_Z"},
                                         BookmarkNameCase{99, TEXT('D'), "63_D"},
                                         BookmarkNameCase{0xFF, TEXT('c'), "FF_c"},
                                         BookmarkNameCase{0x100, TEXT('E'), "100_E"}));

}  // namespace
