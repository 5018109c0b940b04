#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::Wide;

namespace {

struct FormatCase {
  const char *expected;  // UTF-8
  int (*format)(LPWSTR out);
};

// Why Wine gives other texts, and other counts, or null where it does not.
void ExpectFormats(const FormatCase *cases, size_t count, const char *wineTextDiffers = nullptr,
                   const char *wineCountDiffers = nullptr) {
  for (size_t i = 0; i < count; ++i) {
    WCHAR out[1100];
    for (WCHAR &unit : out) unit = 0x5A5A;
    int length = cases[i].format(out);
    WString expected = Wide(cases[i].expected);
    testing_support::KnownWineDifference(wineTextDiffers, [&] {
      EXPECT_EQ(expected, WString(out)) << "case " << i << ": " << cases[i].expected;
    });
    testing_support::KnownWineDifference(wineCountDiffers, [&] {
      EXPECT_EQ(static_cast<int>(expected.size()), length) << "case " << i;
    });
  }
}

const FormatCase kNumbers[] = {
    {"-42", [](LPWSTR o) { return wsprintfW(o, TEXT("%d"), -42); }},
    {"42", [](LPWSTR o) { return wsprintfW(o, TEXT("%i"), 42); }},
    {"4294967295", [](LPWSTR o) { return wsprintfW(o, TEXT("%u"), -1); }},
    {"beef", [](LPWSTR o) { return wsprintfW(o, TEXT("%x"), 0xBEEF); }},
    {"BEEF", [](LPWSTR o) { return wsprintfW(o, TEXT("%X"), 0xBEEF); }},
    {"0xbeef", [](LPWSTR o) { return wsprintfW(o, TEXT("%#x"), 0xBEEF); }},
    {"0XBEEF", [](LPWSTR o) { return wsprintfW(o, TEXT("%#X"), 0xBEEF); }},
    {"0x0", [](LPWSTR o) { return wsprintfW(o, TEXT("%#x"), 0); }},
    {"   42", [](LPWSTR o) { return wsprintfW(o, TEXT("%5d"), 42); }},
    {"42   |", [](LPWSTR o) { return wsprintfW(o, TEXT("%-5d|"), 42); }},
    {"00042", [](LPWSTR o) { return wsprintfW(o, TEXT("%05d"), 42); }},
    {"-0042", [](LPWSTR o) { return wsprintfW(o, TEXT("%05d"), -42); }},
    {"-000000001", [](LPWSTR o) { return wsprintfW(o, TEXT("%010ld"), -1); }},
    {"42   |", [](LPWSTR o) { return wsprintfW(o, TEXT("%-05d|"), 42); }},
    {"007", [](LPWSTR o) { return wsprintfW(o, TEXT("%.3d"), 7); }},
    {"0", [](LPWSTR o) { return wsprintfW(o, TEXT("%.0d"), 0); }},
    {"0", [](LPWSTR o) { return wsprintfW(o, TEXT("%.d"), 0); }},
    {"12345", [](LPWSTR o) { return wsprintfW(o, TEXT("%.2d"), 12345); }},
    {"   -07", [](LPWSTR o) { return wsprintfW(o, TEXT("%6.3d"), -7); }},
    {"000007", [](LPWSTR o) { return wsprintfW(o, TEXT("%06.3d"), 7); }},
    {"007   |", [](LPWSTR o) { return wsprintfW(o, TEXT("%-6.3d|"), 7); }},
    {"0x00ab", [](LPWSTR o) { return wsprintfW(o, TEXT("%#.4x"), 0xAB); }},
    {"   0XAB", [](LPWSTR o) { return wsprintfW(o, TEXT("%#5X"), 0xAB); }},
    {"0x5    |", [](LPWSTR o) { return wsprintfW(o, TEXT("%-#5x|"), 5); }},
    {"000A_00042", [](LPWSTR o) { return wsprintfW(o, TEXT("%04X_%05d"), 10, 42); }},
    {"-5", [](LPWSTR o) { return wsprintfW(o, TEXT("%ld"), -5L); }},
    {"abc", [](LPWSTR o) { return wsprintfW(o, TEXT("%lx"), 0xABCL); }},
    {"3000000000", [](LPWSTR o) { return wsprintfW(o, TEXT("%lu"), 3000000000UL); }},
    {"5", [](LPWSTR o) { return wsprintfW(o, TEXT("%wd"), 5); }},
    {"42", [](LPWSTR o) { return wsprintfW(o, TEXT("%hd"), 42); }},
    {"123450067890A",
     [](LPWSTR o) { return wsprintfW(o, TEXT("%I64X"), (0x12345ULL << 32) | 0x67890A); }},
    {"543210000000", [](LPWSTR o) { return wsprintfW(o, TEXT("%I64d"), 543210LL * 1000000); }},
    {"FFFFFFFFFFFEDCBB", [](LPWSTR o) { return wsprintfW(o, TEXT("%I64X"), -0x12345LL); }},
    {"18446744073709551493", [](LPWSTR o) { return wsprintfW(o, TEXT("%I64u"), -123LL); }},
    {"fffedcbb", [](LPWSTR o) { return wsprintfW(o, TEXT("%I32x"), 0xFFFEDCBB); }},
    {"-12345", [](LPWSTR o) { return wsprintfW(o, TEXT("%Id"), static_cast<INT_PTR>(-12345)); }},
    {"1234", [](LPWSTR o) { return wsprintfW(o, TEXT("%Ix"), static_cast<UINT_PTR>(0x1234)); }},
};

TEST(Format, Numbers) { ExpectFormats(kNumbers, sizeof(kNumbers) / sizeof(kNumbers[0])); }

// Windows documents hd and hu as short arguments.
const FormatCase kShortNumbers[] = {
    {"4464", [](LPWSTR o) { return wsprintfW(o, TEXT("%hd"), 70000); }},
    {"65535", [](LPWSTR o) { return wsprintfW(o, TEXT("%hu"), -1); }},
};

TEST(Format, ShortNumbersAreCutTo16Bits) {
  const char kWinePrintsInts[] = "Wine prints the whole int for h sizes";
  ExpectFormats(kShortNumbers, sizeof(kShortNumbers) / sizeof(kShortNumbers[0]), kWinePrintsInts,
                kWinePrintsInts);
}

const FormatCase kCharacters[] = {
    {"x", [](LPWSTR o) { return wsprintfW(o, TEXT("%c"), TEXT('x')); }},
    {"y", [](LPWSTR o) { return wsprintfW(o, TEXT("%C"), 'y'); }},
    {"\u00e9", [](LPWSTR o) { return wsprintfW(o, TEXT("%C"), 0xE9); }},  // code page 1252
    {"\u20ac", [](LPWSTR o) { return wsprintfW(o, TEXT("%C"), 0x80); }},
    {"z", [](LPWSTR o) { return wsprintfW(o, TEXT("%hc"), 'z'); }},
    {"\u263a", [](LPWSTR o) { return wsprintfW(o, TEXT("%lc"), 0x263A); }},
    {"  a|", [](LPWSTR o) { return wsprintfW(o, TEXT("%3c|"), TEXT('a')); }},
    {"a  |", [](LPWSTR o) { return wsprintfW(o, TEXT("%-3c|"), TEXT('a')); }},
    {"  a|", [](LPWSTR o) { return wsprintfW(o, TEXT("%03c|"), TEXT('a')); }},
    {"\u5678", [](LPWSTR o) { return wsprintfW(o, TEXT("%c"), 0x12345678); }},
    {"x", [](LPWSTR o) { return wsprintfW(o, TEXT("%wC"), 0x5678); }},  // w widens no C
    {"\u5678", [](LPWSTR o) { return wsprintfW(o, TEXT("%lC"), 0x5678); }},
};

TEST(Format, Characters) {
  ExpectFormats(kCharacters, sizeof(kCharacters) / sizeof(kCharacters[0]));
}

const FormatCase kStrings[] = {
    {"wide", [](LPWSTR o) { return wsprintfW(o, TEXT("%s"), TEXT("wide")); }},
    {"narrow", [](LPWSTR o) { return wsprintfW(o, TEXT("%S"), "narrow"); }},
    {"h\u00e9\u20ac", [](LPWSTR o) { return wsprintfW(o, TEXT("%hs"), "h\xE9\x80"); }},
    {"l", [](LPWSTR o) { return wsprintfW(o, TEXT("%ls"), TEXT("l")); }},
    {"w", [](LPWSTR o) { return wsprintfW(o, TEXT("%ws"), TEXT("w")); }},
    {"hS", [](LPWSTR o) { return wsprintfW(o, TEXT("%hS"), "hS"); }},
    {"lS", [](LPWSTR o) { return wsprintfW(o, TEXT("%lS"), TEXT("lS")); }},
    {"ab", [](LPWSTR o) { return wsprintfW(o, TEXT("%.2s"), TEXT("abcdef")); }},
    {"   ab|", [](LPWSTR o) { return wsprintfW(o, TEXT("%5.2s|"), TEXT("abcdef")); }},
    {"ab   |", [](LPWSTR o) { return wsprintfW(o, TEXT("%-5s|"), TEXT("ab")); }},
    {"   ab|", [](LPWSTR o) { return wsprintfW(o, TEXT("%05s|"), TEXT("ab")); }},
    {"abc|", [](LPWSTR o) { return wsprintfW(o, TEXT("%.0s|"), TEXT("abc")); }},
    {"abc|", [](LPWSTR o) { return wsprintfW(o, TEXT("%.s|"), TEXT("abc")); }},
    {"(null)", [](LPWSTR o) { return wsprintfW(o, TEXT("%s"), static_cast<LPCWSTR>(nullptr)); }},
    {"(null)", [](LPWSTR o) { return wsprintfW(o, TEXT("%S"), static_cast<LPCSTR>(nullptr)); }},
    {"(nu|", [](LPWSTR o) { return wsprintfW(o, TEXT("%.3s|"), static_cast<LPCWSTR>(nullptr)); }},
    {"  (null)|",
     [](LPWSTR o) { return wsprintfW(o, TEXT("%8s|"), static_cast<LPCWSTR>(nullptr)); }},
    {"1 x", [](LPWSTR o) { return wsprintfW(o, TEXT("%d %s"), 1, TEXT("x")); }},
    {"C:\\ 02_C",
     [](LPWSTR o) { return wsprintfW(o, TEXT("%c:\\ %02X_%c"), TEXT('C'), 2, TEXT('C')); }},
};

// Windows documents that character arguments of value zero are ignored.
const FormatCase kZeroCharacters[] = {
    {"|", [](LPWSTR o) { return wsprintfW(o, TEXT("%c|"), 0); }},
    {"|", [](LPWSTR o) { return wsprintfW(o, TEXT("%hc|"), 0); }},
    {"|", [](LPWSTR o) { return wsprintfW(o, TEXT("%lc|"), 0); }},
    {"a|", [](LPWSTR o) { return wsprintfW(o, TEXT("a%3C|"), 0); }},
};

TEST(Format, ZeroCharactersAreLeftOut) {
  const char kWineWritesZero[] = "Wine writes the zero unit, which ends the text, and counts it";
  ExpectFormats(kZeroCharacters, sizeof(kZeroCharacters) / sizeof(kZeroCharacters[0]),
                kWineWritesZero, kWineWritesZero);
}

TEST(Format, Strings) { ExpectFormats(kStrings, sizeof(kStrings) / sizeof(kStrings[0])); }

// A percent sign before a character that is no conversion writes that character.
const FormatCase kNotConversions[] = {
    {"%", [](LPWSTR o) { return wsprintfW(o, TEXT("%%")); }},
    {"100%", [](LPWSTR o) { return wsprintfW(o, TEXT("%d%%"), 100); }},
    {"q", [](LPWSTR o) { return wsprintfW(o, TEXT("%q")); }},
    {"e f", [](LPWSTR o) { return wsprintfW(o, TEXT("%e %f")); }},
    {"o", [](LPWSTR o) { return wsprintfW(o, TEXT("%o")); }},
    {"*d", [](LPWSTR o) { return wsprintfW(o, TEXT("%*d")); }},
    {"+d 1", [](LPWSTR o) { return wsprintfW(o, TEXT("%-+d %d"), 1); }},
    {"lx", [](LPWSTR o) { return wsprintfW(o, TEXT("%llx")); }},
    {"6x", [](LPWSTR o) { return wsprintfW(o, TEXT("%I6x")); }},
    {"ab", [](LPWSTR o) { return wsprintfW(o, TEXT("ab%")); }},
    {"", [](LPWSTR o) { return wsprintfW(o, TEXT("%l")); }},
    {"", [](LPWSTR o) { return wsprintfW(o, TEXT("")); }},
};

TEST(Format, NotConversions) {
  ExpectFormats(kNotConversions, sizeof(kNotConversions) / sizeof(kNotConversions[0]));
}

// A pointer is upper-case hexadecimal padded with zeros to the width of a
// pointer, whatever width the format gives.
TEST(Format, PointerHasAllItsDigits) {
  const size_t digits = 2 * sizeof(void *);
  const std::string zeros(digits - 4, '0'), spaces(digits - 4, ' ');
  void *pointer = reinterpret_cast<void *>(0xABC1);
  const struct {
    LPCWSTR format;
    std::string expected;
  } cases[] = {
      {TEXT("%p"), zeros + "ABC1"},
      {TEXT("%3p"), zeros + "ABC1"},
      {TEXT("%#p"), "0X" + zeros + "ABC1"},
      {TEXT("%-p|"), "ABC1" + spaces + "|"},  // left-aligned: spaces instead of zeros
  };
  for (const auto &c : cases) {
    WCHAR out[64];
    int length = wsprintfW(out, c.format, pointer);
    EXPECT_EQ(c.expected, Narrow(out)) << Narrow(c.format);
    EXPECT_EQ(static_cast<int>(c.expected.size()), length) << Narrow(c.format);
  }
}

// Windows documents the # flag for hexadecimal values only.
TEST(Format, HashFlagLeavesDecimalsAlone) {
  const FormatCase cases[] = {
      {"5", [](LPWSTR o) { return wsprintfW(o, TEXT("%#d"), 5); }},
      {"  -12", [](LPWSTR o) { return wsprintfW(o, TEXT("%#5i"), -12); }},
      {"7", [](LPWSTR o) { return wsprintfW(o, TEXT("%#u"), 7); }},
  };
  // Under Wine the text is right up to its terminator; the count is not.
  ExpectFormats(cases, sizeof(cases) / sizeof(cases[0]), nullptr,
                "Wine counts two more units for # with decimals");
}

int FormatThroughList(LPWSTR out, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  int length = wvsprintfW(out, format, args);
  va_end(args);
  return length;
}

TEST(Format, ListFormFormatsTheSame) {
  WCHAR out[64];
  EXPECT_EQ(8, FormatThroughList(out, TEXT("%s=%04x"), TEXT("key"), 0x1F));
  EXPECT_EQ(Wide("key=001f"), WString(out));
}

}  // namespace
