#include "text/cstring.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

using testing_support::Wide;

namespace {

WString Text(const CString &s) { return WString(static_cast<LPCWSTR>(s), s.GetLength()); }

TEST(CStringRepresentation, EmptyStringsShareOneStaticBlock) {
  CString a;
  CString b(static_cast<LPCWSTR>(nullptr));
  CString c(TEXT(""));
  EXPECT_TRUE(a.SharesBufferWith(b));
  EXPECT_TRUE(a.SharesBufferWith(c));
  EXPECT_EQ(0, a.GetLength());
  EXPECT_EQ(0, static_cast<LPCWSTR>(a)[0]);
}

TEST(CStringRepresentation, CopiesShareUntilOneChanges) {
  CString original(TEXT("drive"));
  CString copy(original);
  CString assigned;
  assigned = original;
  EXPECT_TRUE(copy.SharesBufferWith(original));
  EXPECT_TRUE(assigned.SharesBufferWith(original));

  copy += TEXT("bar");
  EXPECT_FALSE(copy.SharesBufferWith(original));
  EXPECT_EQ(WString(TEXT("drive")), Text(original));
  EXPECT_EQ(WString(TEXT("drivebar")), Text(copy));
  EXPECT_TRUE(assigned.SharesBufferWith(original));

  assigned.TrimLeft();  // nothing to trim: stays shared
  EXPECT_TRUE(assigned.SharesBufferWith(original));
  assigned.Replace(TEXT("r"), TEXT("R"));
  EXPECT_EQ(WString(TEXT("dRive")), Text(assigned));
  EXPECT_EQ(WString(TEXT("drive")), Text(original));
}

TEST(CStringRepresentation, GetBufferGivesAPrivateBlock) {
  CString original(TEXT("abc"));
  CString copy(original);
  LPWSTR buffer = copy.GetBuffer(10);
  ASSERT_NE(nullptr, buffer);
  buffer[0] = 'X';
  buffer[3] = 'Y';
  buffer[4] = 0;
  copy.ReleaseBuffer();
  EXPECT_EQ(WString(TEXT("XbcY")), Text(copy));
  EXPECT_EQ(WString(TEXT("abc")), Text(original));

  // A length beyond the block is cut to the block.
  LPWSTR again = copy.GetBuffer(2);
  ASSERT_NE(nullptr, again);
  copy.ReleaseBuffer(1000000);
  EXPECT_EQ(10, copy.GetLength());
}

TEST(CStringRepresentation, SelfAssignmentAndSelfAppendKeepTheText) {
  CString s(TEXT("ab"));
  CString &same = s;
  s = same;
  EXPECT_EQ(WString(TEXT("ab")), Text(s));
  s += same;
  EXPECT_EQ(WString(TEXT("abab")), Text(s));
  s = static_cast<LPCWSTR>(s) + 1;  // text from inside its own block
  EXPECT_EQ(WString(TEXT("bab")), Text(s));
}

TEST(CStringOperations, ConcatenationForms) {
  CString left(TEXT("C:"));
  EXPECT_EQ(WString(TEXT("C:\\")), Text(left + TEXT("\\")));
  EXPECT_EQ(WString(TEXT("\\C:")), Text(TEXT("\\") + left));
  EXPECT_EQ(WString(TEXT("C:C:")), Text(left + left));
  CString withUnit(left);
  withUnit += static_cast<WCHAR>('\\');
  EXPECT_EQ(WString(TEXT("C:\\")), Text(withUnit));
}

struct MidCase {
  int first;
  int count;
  const char *expected;
};

class CStringMid : public testing::TestWithParam<MidCase> {};

TEST_P(CStringMid, ClampsPositionsAndCounts) {
  CString s(TEXT("abcdef"));
  const MidCase &c = GetParam();
  EXPECT_EQ(Wide(c.expected), Text(s.Mid(c.first, c.count)));
}

INSTANTIATE_TEST_SUITE_P(Table, CStringMid,
                         testing::Values(MidCase{0, 6, "abcdef"}, MidCase{2, 2, "cd"},
                                         MidCase{-3, 2, "ab"}, MidCase{4, 100, "ef"},
                                         MidCase{2, -1, ""}, MidCase{6, 1, ""}, MidCase{7, 3, ""},
                                         MidCase{0x7FFFFFFF, 0x7FFFFFFF, ""},
                                         MidCase{3, 0x7FFFFFFF, "def"}));

TEST(CStringOperations, LeftAndMidFromAPosition) {
  CString s(TEXT("/I:file.ini"));
  EXPECT_EQ(WString(TEXT("/I:")), Text(s.Left(3)));
  EXPECT_EQ(WString(TEXT("")), Text(s.Left(-1)));
  EXPECT_EQ(WString(TEXT("/I:file.ini")), Text(s.Left(99)));
  EXPECT_TRUE(s.Left(99).SharesBufferWith(s));
  EXPECT_EQ(WString(TEXT("file.ini")), Text(s.Mid(3)));
  EXPECT_EQ(WString(TEXT("")), Text(s.Mid(20)));
}

TEST(CStringOperations, SearchingGivesMinusOneWithoutMatch) {
  CString s(TEXT("a\\b\\c"));
  EXPECT_EQ(3, s.ReverseFind('\\'));
  EXPECT_EQ(-1, s.ReverseFind('/'));
  EXPECT_EQ(1, s.Find('\\'));
  EXPECT_EQ(3, s.Find('\\', 2));
  EXPECT_EQ(1, s.Find('\\', -5));
  EXPECT_EQ(-1, s.Find('\\', 4));
  EXPECT_EQ(-1, s.Find('\\', 50));
  EXPECT_EQ(2, s.Find(TEXT("b\\c")));
  EXPECT_EQ(-1, s.Find(TEXT("b\\c"), 3));
  EXPECT_EQ(-1, CString().ReverseFind('x'));
}

TEST(CStringOperations, ReplaceCountsAndChangesEveryMatch) {
  CString s(TEXT("a=b=c"));
  EXPECT_EQ(2, s.Replace(TEXT("="), TEXT("_")));
  EXPECT_EQ(WString(TEXT("a_b_c")), Text(s));
  EXPECT_EQ(0, s.Replace(TEXT("="), TEXT("_")));
  EXPECT_EQ(0, s.Replace(TEXT(""), TEXT("x")));
  EXPECT_EQ(2, s.Replace(TEXT("_"), TEXT("")));
  EXPECT_EQ(WString(TEXT("abc")), Text(s));
  EXPECT_EQ(1, s.Replace(TEXT("abc"), TEXT("longer text")));
  EXPECT_EQ(WString(TEXT("longer text")), Text(s));
}

TEST(CStringOperations, TrimmingUsesThePlatformsWhiteSpace) {
  // Tab, line feed, vertical tab, form feed, carriage return, space, the
  // no-break space and the ideographic space are all C1_SPACE.
  WString padded = WString(TEXT("\t\n\x0B\x0C\r \xA0")) + WString(1, 0x3000) + TEXT("x y") +
                   WString(1, 0x3000) + TEXT(" \t");
  CString s(padded.c_str());
  s.TrimLeft();
  EXPECT_EQ(WString(TEXT("x y")) + WString(1, 0x3000) + TEXT(" \t"), Text(s));
  s.TrimRight();
  EXPECT_EQ(WString(TEXT("x y")), Text(s));

  CString blank(TEXT(" \t "));
  blank.TrimRight();
  EXPECT_EQ(0, blank.GetLength());
  CString none(TEXT("abc"));
  CString shared(none);
  none.TrimLeft();
  none.TrimRight();
  EXPECT_TRUE(none.SharesBufferWith(shared));
}

TEST(CStringFormat, UsesThePlatformsConversions) {
  CString s;
  EXPECT_TRUE(s.Format(TEXT("%X_%05d"), 15, 60174));
  EXPECT_EQ(WString(TEXT("F_60174")), Text(s));
  EXPECT_TRUE(s.Format(TEXT("%02X_%c"), 5, 'C'));
  EXPECT_EQ(WString(TEXT("05_C")), Text(s));
  EXPECT_TRUE(s.Format(TEXT("added 'drivebar' with %d buttons"), 12));
  EXPECT_EQ(WString(TEXT("added 'drivebar' with 12 buttons")), Text(s));
  EXPECT_TRUE(s.Format(TEXT("[%s] %-4s|"), TEXT("x"), TEXT("ab")));
  EXPECT_EQ(WString(TEXT("[x] ab  |")), Text(s));
}

TEST(CStringFormat, OutputStopsAtThePlatformsLimit) {
  WString longText(3000, 'a');
  CString s;
  s.Format(TEXT("%s"), longText.c_str());
  EXPECT_EQ(1023, s.GetLength());
}

void FormatWithFloat(void *target) { static_cast<CString *>(target)->Format(TEXT("%f"), 1.5); }

TEST(CStringFormat, RefusesFloatingPointAndBreaksIntoTheDebugger) {
  CString s(TEXT("kept"));
  testing_support::DebugTrap trap = testing_support::CatchDebugBreak(FormatWithFloat, &s);
  EXPECT_TRUE(trap.broke);
  EXPECT_NE(std::string::npos,
            trap.output.find("Floating point (%e, %f, %g, and %G) is not supported"))
      << trap.output;
  EXPECT_EQ(WString(TEXT("kept")), Text(s));
}

}  // namespace
