#include <windows.h>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

const WCHAR kUntouched = 0x5A5A;

struct LimitCase {
  int length;    // of the full result
  int returned;  // by wsprintfW
  int written;   // units before the terminator
};

// The output stops at 1024 units with the terminator. A result that reaches
// the last of them counts as cut short: 1023 units, and 1024 returned.
const LimitCase kLimits[] = {
    {1, 1, 1}, {1022, 1022, 1022}, {1023, 1024, 1023}, {1024, 1024, 1023}, {3000, 1024, 1023},
};

TEST(FormatLimit, StringArgumentsStopAt1024UnitsWithTheTerminator) {
  for (const LimitCase &c : kLimits) {
    WString text;
    for (int i = 0; i < c.length; ++i) text += static_cast<WCHAR>('a' + i % 26);
    WString out(1100, kUntouched);
    EXPECT_EQ(c.returned, wsprintfW(&out[0], TEXT("%s"), text.c_str())) << c.length;
    EXPECT_EQ(text.substr(0, c.written), WString(out.c_str())) << c.length;
    EXPECT_EQ(kUntouched, out[1024]) << c.length;
  }
}

TEST(FormatLimit, LiteralTextStopsAtTheSameLimit) {
  WString format(1030, 'c');
  WString out(1100, kUntouched);
  EXPECT_EQ(1024, wsprintfW(&out[0], format.c_str()));
  EXPECT_EQ(WString(1023, 'c'), WString(out.c_str()));
  EXPECT_EQ(kUntouched, out[1024]);
}

TEST(FormatLimit, ANumberIsCutWhereTheLimitFalls) {
  WString out(1100, kUntouched);
  EXPECT_EQ(1024, wsprintfW(&out[0], TEXT("%1020s%d"), TEXT("x"), 123456));
  EXPECT_EQ(1023, lstrlenW(out.c_str()));
  EXPECT_EQ(WString(TEXT("x123")), WString(out.c_str() + 1019));
}

}  // namespace
