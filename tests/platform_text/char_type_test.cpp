#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/test_support.h"

namespace {

WORD CType1(WCHAR unit) {
  WORD type = 0xFFFF;
  EXPECT_TRUE(GetStringTypeExW(GetThreadLocale(), CT_CTYPE1, &unit, 1, &type));
  return type;
}

// Every code unit Windows marks as white space: the separators and the
// controls tab to carriage return and next line.
TEST(CharType, WhiteSpaceIsExactlyTheKnownSetOverTheWholePlane) {
  std::vector<unsigned> expected = {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20, 0x85, 0xA0, 0x1680};
  for (unsigned unit = 0x2000; unit <= 0x200A; ++unit) expected.push_back(unit);
  for (unsigned unit : {0x2028, 0x2029, 0x202F, 0x205F, 0x3000}) expected.push_back(unit);

  std::vector<unsigned> marked;
  for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
    WCHAR text = static_cast<WCHAR>(unit);
    WORD type = 0;
    ASSERT_TRUE(GetStringTypeExW(GetThreadLocale(), CT_CTYPE1, &text, 1, &type)) << unit;
    if (type & C1_SPACE) marked.push_back(unit);
  }
  EXPECT_EQ(expected, marked);
}

struct ClassRange {
  unsigned first;
  unsigned last;
  WORD bits;
};

const WORD D = C1_DEFINED;

// All of ASCII and Latin-1, range by range.
const ClassRange kLatin1Classes[] = {
    {0x00, 0x08, D | C1_CNTRL},
    {0x09, 0x09, D | C1_CNTRL | C1_SPACE | C1_BLANK},
    {0x0A, 0x0D, D | C1_CNTRL | C1_SPACE},
    {0x0E, 0x1F, D | C1_CNTRL},
    {0x20, 0x20, D | C1_SPACE | C1_BLANK},
    {0x21, 0x2F, D | C1_PUNCT},
    {0x30, 0x39, D | C1_DIGIT | C1_XDIGIT},
    {0x3A, 0x40, D | C1_PUNCT},
    {0x41, 0x46, D | C1_UPPER | C1_ALPHA | C1_XDIGIT},
    {0x47, 0x5A, D | C1_UPPER | C1_ALPHA},
    {0x5B, 0x60, D | C1_PUNCT},
    {0x61, 0x66, D | C1_LOWER | C1_ALPHA | C1_XDIGIT},
    {0x67, 0x7A, D | C1_LOWER | C1_ALPHA},
    {0x7B, 0x7E, D | C1_PUNCT},
    {0x7F, 0x84, D | C1_CNTRL},
    {0x85, 0x85, D | C1_CNTRL | C1_SPACE},
    {0x86, 0x9F, D | C1_CNTRL},
    {0xA0, 0xA0, D | C1_SPACE | C1_BLANK},
    {0xA1, 0xA9, D | C1_PUNCT},
    {0xAA, 0xAA, D | C1_LOWER | C1_ALPHA | C1_PUNCT},  // feminine ordinal
    {0xAB, 0xAC, D | C1_PUNCT},
    {0xAD, 0xAD, D | C1_PUNCT | C1_CNTRL},  // soft hyphen
    {0xAE, 0xB1, D | C1_PUNCT},
    {0xB2, 0xB3, D | C1_PUNCT | C1_DIGIT},  // superscript two and three
    {0xB4, 0xB4, D | C1_PUNCT},
    {0xB5, 0xB5, D | C1_LOWER | C1_ALPHA | C1_PUNCT},  // micro sign
    {0xB6, 0xB8, D | C1_PUNCT},
    {0xB9, 0xB9, D | C1_PUNCT | C1_DIGIT},
    {0xBA, 0xBA, D | C1_LOWER | C1_ALPHA | C1_PUNCT},  // masculine ordinal
    {0xBB, 0xBF, D | C1_PUNCT},
    {0xC0, 0xD6, D | C1_UPPER | C1_ALPHA},
    {0xD7, 0xD7, D | C1_PUNCT},
    {0xD8, 0xDE, D | C1_UPPER | C1_ALPHA},
    {0xDF, 0xF6, D | C1_LOWER | C1_ALPHA},
    {0xF7, 0xF7, D | C1_PUNCT},
    {0xF8, 0xFF, D | C1_LOWER | C1_ALPHA},
};

TEST(CharType, AsciiAndLatin1HaveWindowsClasses) {
  unsigned next = 0;
  for (const ClassRange &range : kLatin1Classes) {
    ASSERT_EQ(next, range.first) << "the table leaves a gap";
    for (unsigned unit = range.first; unit <= range.last; ++unit) {
      EXPECT_EQ(range.bits, CType1(static_cast<WCHAR>(unit))) << std::hex << "U+" << unit;
    }
    next = range.last + 1;
  }
  EXPECT_EQ(0x100u, next);
}

// Units beyond Latin-1 whose classes Windows is known to report.
const ClassRange kOtherClasses[] = {
    {0x01C5, 0x01C5, D | C1_UPPER | C1_LOWER | C1_ALPHA},  // title-case letter
    {0x02B0, 0x02B0, D | C1_ALPHA},                        // modifier letter
    {0x0294, 0x0294, D | C1_ALPHA},                        // other letter
    {0x2160, 0x2160, D | C1_ALPHA},                        // letter number
    {0x0600, 0x0600, D | C1_CNTRL},                        // format character
    {0x1F88, 0x1F88, D | C1_UPPER | C1_LOWER | C1_ALPHA},
    {0x0903, 0x0903, D},  // spacing mark
    {0x0322, 0x0322, D},  // nonspacing mark
    {0x02C2, 0x02C2, D},  // modifier symbol
    {0x0482, 0x0482, D},  // other symbol
    {0xFFE0, 0xFFE0, D},  // currency symbol
    {0xFFE9, 0xFFE9, D},  // math symbol
    {0x2153, 0x2153, D},  // other number
    {0x2071, 0x2071, D | C1_LOWER | C1_ALPHA},
    {0x2028, 0x2029, D | C1_SPACE},
    {0x3000, 0x3000, D | C1_SPACE | C1_BLANK},
    {0xFEFF, 0xFEFF, D | C1_CNTRL | C1_BLANK},
    {0x0378, 0x0379, 0},  // unassigned
    {0xFFFE, 0xFFFF, 0},
    {0xD800, 0xD800, D},  // surrogates and private use
    {0xDFFF, 0xDFFF, D},
    {0xE000, 0xE000, D},
    {0xFF10, 0xFF10, D | C1_DIGIT | C1_XDIGIT},  // fullwidth digit zero
    {0xFF21, 0xFF21, D | C1_UPPER | C1_ALPHA | C1_XDIGIT},
    {0xFF41, 0xFF41, D | C1_LOWER | C1_ALPHA | C1_XDIGIT},
    {0xFF47, 0xFF47, D | C1_LOWER | C1_ALPHA},
};

TEST(CharType, UnitsBeyondLatin1) {
  for (const ClassRange &range : kOtherClasses) {
    for (unsigned unit = range.first; unit <= range.last; ++unit) {
      EXPECT_EQ(range.bits, CType1(static_cast<WCHAR>(unit))) << std::hex << "U+" << unit;
    }
  }
}

TEST(CharType, ThaiVowelAndToneMarksAreLetters) {
  for (unsigned unit : {0x0E31, 0x0E34, 0x0E3A, 0x0E47, 0x0E4E, 0x1885, 0x1886}) {
    testing_support::KnownWineDifference("Wine 8 gives these marks only C1_DEFINED", [&] {
      EXPECT_EQ(D | C1_ALPHA, CType1(static_cast<WCHAR>(unit))) << std::hex << "U+" << unit;
    });
  }
}

TEST(CharType, NegativeCountClassifiesUpToAndIncludingTheTerminator) {
  const WCHAR text[] = {'a', ' ', 0, 'b'};
  WORD types[4] = {0x5555, 0x5555, 0x5555, 0x5555};
  ASSERT_TRUE(GetStringTypeExW(GetThreadLocale(), CT_CTYPE1, text, -1, types));
  EXPECT_EQ(D | C1_LOWER | C1_ALPHA | C1_XDIGIT, types[0]);
  EXPECT_EQ(D | C1_SPACE | C1_BLANK, types[1]);
  EXPECT_EQ(D | C1_CNTRL, types[2]);
  EXPECT_EQ(0x5555, types[3]);
}

TEST(CharType, ResultMayShareTheSourceBuffer) {
  WCHAR buffer[2] = {'A', '7'};
  ASSERT_TRUE(
      GetStringTypeExW(GetThreadLocale(), CT_CTYPE1, buffer, 2, reinterpret_cast<LPWORD>(buffer)));
  EXPECT_EQ(D | C1_UPPER | C1_ALPHA | C1_XDIGIT, buffer[0]);
  EXPECT_EQ(D | C1_DIGIT | C1_XDIGIT, buffer[1]);
}

TEST(CharType, RejectsMissingTextAndMixedClasses) {
  WCHAR unit = 'a';
  WORD type = 0;
  SetLastError(0);
  EXPECT_FALSE(GetStringTypeExW(GetThreadLocale(), CT_CTYPE1, nullptr, 1, &type));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  SetLastError(0);
  EXPECT_FALSE(GetStringTypeExW(GetThreadLocale(), CT_CTYPE1 | CT_CTYPE2, &unit, 1, &type));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

}  // namespace
