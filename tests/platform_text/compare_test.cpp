#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/test_support.h"

using testing_support::Wide;

namespace {

// Printable ASCII in Windows' order for US English: apostrophe and hyphen
// first (word sort sets them aside), then space, punctuation, the math
// symbols, digits, and letters with lower case before upper case.
const char kAsciiOrder[] =
    "'- !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>0123456789"
    "aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ";

std::vector<WString> PrintableAscii() {
  std::vector<WString> units;
  for (WCHAR unit = 0x20; unit < 0x7F; ++unit) units.push_back(WString(1, unit));
  return units;
}

WString Joined(const std::vector<WString> &parts) {
  WString all;
  for (const WString &part : parts) all += part;
  return all;
}

TEST(StringCompare, SortsPrintableAsciiInWindowsOrder) {
  std::vector<WString> units = PrintableAscii();
  std::sort(units.begin(), units.end(),
            [](const WString &a, const WString &b) { return lstrcmpW(a.c_str(), b.c_str()) < 0; });
  EXPECT_EQ(Wide(kAsciiOrder), Joined(units));
}

TEST(StringCompare, IgnoringCaseSortsTheSameWithCasePairsEqual) {
  std::vector<WString> units = PrintableAscii();
  // Lower case first among equals, so the result reads like the case-sensitive order.
  std::stable_sort(units.begin(), units.end(), [](const WString &a, const WString &b) {
    return lstrcmpiW(a.c_str(), b.c_str()) < 0;
  });
  WString sorted = Joined(units);
  for (WCHAR letter = 'a'; letter <= 'z'; ++letter) {
    const WCHAR upper[] = {static_cast<WCHAR>(letter - 'a' + 'A'), 0};
    const WCHAR lower[] = {letter, 0};
    EXPECT_EQ(0, lstrcmpiW(upper, lower)) << static_cast<char>(letter);
  }
  // Equal letters keep their input order (upper case first, as in ASCII).
  WString expected = Wide(kAsciiOrder);
  for (size_t i = 0; i + 1 < expected.size(); ++i) {
    if (expected[i] >= 'a' && expected[i] <= 'z') std::swap(expected[i], expected[i + 1]), ++i;
  }
  EXPECT_EQ(expected, sorted);
}

struct ComparePair {
  const char *left;
  const char *right;
  int sensitive;    // lstrcmpW
  int insensitive;  // lstrcmpiW
};

const ComparePair kPairs[] = {
    {"a_b", "a0", -1, -1},    // punctuation before digits
    {"a0", "aa", -1, -1},     // digits before letters
    {"a-b", "ab", 1, 1},      // the hyphen only counts after everything else
    {"co-op", "coop", 1, 1},  //
    {"-ab", "a-b", 1, 1},     // ... and counts more the earlier it stands
    {"a-b", "ab-", 1, 1},     //
    {"a'b", "a-b", -1, -1},   // apostrophe before hyphen
    {"a-", "a", 1, 1},        //
    {"-", "", 1, 1},          //
    {"a\x01"
     "b",
     "ab", 1, 1},                 // controls are set aside like the hyphen
    {"a b", "ab", -1, -1},        // space is punctuation: before letters
    {"A", "a", 1, 0},             // lower case first
    {"ab", "aB", -1, 0},          //
    {"aB", "Ab", -1, 0},          // case counts from the left
    {"Ab", "ab", 1, 0},           //
    {"Z", "a", 1, 1},             // letters before case
    {"B", "a", 1, 1},             //
    {"file10", "file9", -1, -1},  // no numeric ordering
    {"Toolbar", "toolbar2", -1, -1},
    {"", "", 0, 0},
    {"same", "same", 0, 0},
    {"~", "+", -1, -1},  // symbols group after punctuation
    {"+", "0", -1, -1},
    {"\\", "a", -1, -1},
    {"a\\b", "a b", 1, 1},
    {"=", "@", 1, 1},
};

TEST(StringCompare, PairsGiveWindowsResults) {
  for (const ComparePair &pair : kPairs) {
    WString left = Wide(pair.left), right = Wide(pair.right);
    EXPECT_EQ(pair.sensitive, lstrcmpW(left.c_str(), right.c_str()))
        << pair.left << " vs " << pair.right;
    EXPECT_EQ(-pair.sensitive, lstrcmpW(right.c_str(), left.c_str()))
        << pair.right << " vs " << pair.left;
    EXPECT_EQ(pair.insensitive, lstrcmpiW(left.c_str(), right.c_str()))
        << pair.left << " vs " << pair.right << " ignoring case";
    EXPECT_EQ(-pair.insensitive, lstrcmpiW(right.c_str(), left.c_str()))
        << pair.right << " vs " << pair.left << " ignoring case";
  }
}

TEST(StringCompare, NullSortsFirst) {
  const WCHAR a[] = {'a', 0};
  const WCHAR empty[] = {0};
  EXPECT_EQ(-1, lstrcmpW(nullptr, a));
  EXPECT_EQ(1, lstrcmpW(a, nullptr));
  EXPECT_EQ(0, lstrcmpW(nullptr, nullptr));
  EXPECT_EQ(-1, lstrcmpiW(nullptr, empty));
  EXPECT_EQ(1, lstrcmpiW(empty, nullptr));
  EXPECT_EQ(0, lstrcmpiW(nullptr, nullptr));
}

TEST(StringCompare, NonAsciiCaseIsIgnoredOnlyByTheInsensitiveCompare) {
  const WCHAR upper[] = {0x410, 0x411, 0};  // Cyrillic
  const WCHAR lower[] = {0x430, 0x431, 0};
  const WCHAR greek[] = {0x391, 0};
  const WCHAR greekLower[] = {0x3B1, 0};
  EXPECT_EQ(0, lstrcmpiW(upper, lower));
  EXPECT_EQ(1, lstrcmpW(upper, lower));
  EXPECT_EQ(0, lstrcmpiW(greek, greekLower));
  const WCHAR latin[] = {'z', 0};
  EXPECT_EQ(-1, lstrcmpW(latin, lower));  // Latin sorts before Cyrillic
}

}  // namespace
