// How the dump spells texts, bytes and numbers, and how it keeps records
// apart: every spelling must be plain ASCII and tell different data apart.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "dump_record.h"
#include "dump_text.h"

namespace {

using replay::WString;

struct EscapeCase {
  const char *name;
  WString units;
  std::string expected;
};

void PrintTo(const EscapeCase &c, std::ostream *out) { *out << c.name; }

class UnitEscaping : public testing::TestWithParam<EscapeCase> {};

TEST_P(UnitEscaping, SpellsTheUnitsOfTheTable) {
  EXPECT_EQ(GetParam().expected, replay::EscapeUnits(GetParam().units));
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnitEscaping,
    testing::Values(EscapeCase{"Printable", TEXT("a b=c;[d]"), "a b=c;[d]"},
                    EscapeCase{"BackslashAndQuote", TEXT("a\\\"b"), "a\\\\\\\"b"},
                    EscapeCase{"NullUnit", WString(1, 0) + TEXT("x"), "\\u0000x"},
                    EscapeCase{"Controls", TEXT("\t\r\n\x7f"), "\\u0009\\u000d\\u000a\\u007f"},
                    EscapeCase{"BeyondAscii", TEXT("\u00e9\u20ac"), "\\u00e9\\u20ac"},
                    EscapeCase{"SurrogatePair", TEXT("\U0001F600"), "\\ud83d\\ude00"}),
    [](const testing::TestParamInfo<EscapeCase> &info) { return std::string(info.param.name); });

TEST(ByteEscaping, ShowsBytesBeyondAsciiAndControlsInHex) {
  EXPECT_EQ("caf\\xc3\\xa9 \\x00\\x1f\\\"",
            replay::EscapeBytes(std::string("caf\xC3\xA9 \0\x1F\"", 9)));
}

TEST(LongTexts, AreCutButStillToldApart) {
  const WString base(replay::kShownLength + 10, TEXT('a'));
  WString changedAtEnd = base;
  changedAtEnd.back() = TEXT('b');
  const std::string shown = replay::Quoted(base);
  EXPECT_EQ('"' + std::string(replay::kShownLength, 'a') + '"',
            shown.substr(0, replay::kShownLength + 2));
  EXPECT_NE(std::string::npos, shown.find("+74 units"));
  EXPECT_EQ(shown, replay::Quoted(WString(base)));
  EXPECT_NE(shown, replay::Quoted(changedAtEnd));
  EXPECT_NE(shown, replay::Quoted(base + TEXT("a")));

  const std::string bytes(replay::kShownLength + 1, 'x');
  EXPECT_NE(replay::QuotedBytes(bytes), replay::QuotedBytes(bytes + "x"));
  EXPECT_EQ("\"xx\"", replay::QuotedBytes("xx"));
}

TEST(HexData, ShortInFullLongSummarised) {
  const BYTE shortData[] = {0x00, 0x0F, 0xF0, 0xFF};
  EXPECT_EQ("000ff0ff", replay::HexBytes(shortData, sizeof shortData));
  EXPECT_EQ("", replay::HexBytes(shortData, 0));
  std::string longData(replay::kShownLength * 2, '\x01');
  std::string summary =
      replay::HexBytes(reinterpret_cast<const BYTE *>(longData.data()), longData.size());
  std::string shownHex;
  for (size_t i = 0; i < replay::kShownLength; ++i) shownHex += "01";
  EXPECT_EQ(shownHex, summary.substr(0, shownHex.size()));
  EXPECT_NE(std::string::npos, summary.find("+128 bytes"));
  longData.back() = '\x02';
  EXPECT_NE(summary,
            replay::HexBytes(reinterpret_cast<const BYTE *>(longData.data()), longData.size()));
}

TEST(Numbers, SpellTheWholeRange) {
  EXPECT_EQ("0", replay::Number(0));
  EXPECT_EQ("18446744073709551615", replay::Number(UINT64_MAX));
  EXPECT_EQ("-5", replay::SignedNumber(-5));
  EXPECT_EQ("-9223372036854775808", replay::SignedNumber(INT64_MIN));
  EXPECT_EQ("1009", replay::SignedNumber(1009));
}

TEST(DumpRecords, StayOneLineAndUniquePerScenario) {
  replay::DumpRecorder dump;
  dump.BeginScenario("one");
  dump.Add("topic", "first");
  dump.Add("topic", "second");
  dump.Add("topic", "third");
  dump.Add("tab\there", "line\nbreak");
  EXPECT_EQ("01", dump.NextCallNumber());
  EXPECT_EQ("02", dump.NextCallNumber());
  dump.BeginScenario("two");
  dump.Add("topic", "again");
  EXPECT_EQ("01", dump.NextCallNumber());
  EXPECT_EQ(
      "one\ttopic\tfirst\n"
      "one\ttopic #2\tsecond\n"
      "one\ttopic #3\tthird\n"
      "one\ttab here\tline break\n"
      "two\ttopic\tagain\n",
      dump.Text());
}

}  // namespace
