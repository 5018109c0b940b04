// Comparing two dumps: records paired by scenario and topic, differences
// sorted into known and unexpected by the list's patterns, and inputs that
// can't be trusted refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dump_compare.h"
#include "known_differences.h"
#include "text_pattern.h"

namespace {

using replay::Comparison;
using replay::Dump;
using replay::KnownDifference;

struct PatternCase {
  const char *pattern;
  const char *text;
  bool matches;
};

void PrintTo(const PatternCase &c, std::ostream *out) {
  *out << '"' << c.pattern << "\" on \"" << c.text << '"';
}

class Patterns : public testing::TestWithParam<PatternCase> {};

TEST_P(Patterns, MatchTheWholeText) {
  EXPECT_EQ(GetParam().matches, replay::MatchesPattern(GetParam().pattern, GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Patterns,
    testing::Values(PatternCase{"", "", true}, PatternCase{"", "a", false},
                    PatternCase{"*", "", true}, PatternCase{"abc", "abc", true},
                    PatternCase{"abc", "abcd", false}, PatternCase{"a*c", "abbbc", true},
                    PatternCase{"a*c", "abd", false}, PatternCase{"a?c", "abc", true},
                    PatternCase{"a?c", "ac", false}, PatternCase{"a**", "a", true},
                    PatternCase{"*ab", "aab", true}, PatternCase{"*a*b*", "xaxxbx", true},
                    PatternCase{"*a*b", "xaxxbx", false},
                    PatternCase{"reg * order", "reg \\sub\\key subkey order", true},
                    PatternCase{"call * read [\"s\"] *", "call 03 f.ini: read [\"s\"] \"k\"", true},
                    PatternCase{"call * read [\"s\"] *", "call 03 f.ini: read [\"t\"] \"k\"",
                                false}));

Dump ParsedDump(const std::string &text) {
  Dump dump;
  std::string error;
  EXPECT_TRUE(replay::ParseDump(text, dump, error)) << error;
  return dump;
}

std::vector<KnownDifference> ParsedList(const std::string &text) {
  std::vector<KnownDifference> entries;
  std::string error;
  EXPECT_TRUE(replay::ParseKnownDifferences(text, entries, error)) << error;
  return entries;
}

TEST(KnownDifferenceList, ReadsEntriesAndSkipsComments) {
  const auto entries = ParsedList(
      "# a comment\n"
      "\n"
      "reg-* | reg * value order | sorted on Wine | Registry: ValuesListInOrder\r\n"
      "  ini-x |  a | b  | c  \n");
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ(3, entries[0].line);
  EXPECT_EQ("reg-*", entries[0].scenario);
  EXPECT_EQ("reg * value order", entries[0].topic);
  EXPECT_EQ("sorted on Wine", entries[0].reason);
  EXPECT_EQ("Registry: ValuesListInOrder", entries[0].reference);
  EXPECT_EQ(4, entries[1].line);
  EXPECT_EQ("a", entries[1].topic);
  EXPECT_EQ("c", entries[1].reference);
}

TEST(KnownDifferenceList, RefusesEntriesWithoutReasonOrReference) {
  for (const char *bad : {"a | b | c\n", "a | b | c | d | e\n", "a | b |  | d\n", "a|b|c|d\n",
                          "# ok\na | b | | d\n"}) {
    std::vector<KnownDifference> entries;
    std::string error;
    EXPECT_FALSE(replay::ParseKnownDifferences(bad, entries, error)) << bad;
    EXPECT_EQ(0u, error.find("line ")) << error;
  }
}

TEST(DumpParsing, RefusesBrokenAndRepeatedRecords) {
  for (const char *bad :
       {"s\ttopic-without-content\n", "no tabs at all\n", "s\tt\tone\ns\tt\ttwo\n"}) {
    Dump dump;
    std::string error;
    EXPECT_FALSE(replay::ParseDump(bad, dump, error)) << bad;
    EXPECT_EQ(0u, error.find("line ")) << error;
  }
  const Dump dump = ParsedDump("s\tt\tcontent\twith tab\ns\tu\t\n");
  ASSERT_EQ(2u, dump.records.size());
  EXPECT_EQ("content\twith tab", dump.records[0].content);
  EXPECT_EQ("", dump.records[1].content);
}

class Comparing : public testing::Test {
 protected:
  const Dump m_linux = ParsedDump(
      "reg\tsame\t1\n"
      "reg\torder\ta b\n"
      "ini\tvalue\tx\n"
      "ini\tlinux only\ty\n"
      "run\tend\t2 scenarios\n");
  const Dump m_wine = ParsedDump(
      "reg\tsame\t1\n"
      "reg\torder\tb a\n"
      "ini\tvalue\tz\n"
      "ini\twine only\tw\n"
      "run\tend\t2 scenarios\n");
};

TEST_F(Comparing, SortsEveryDifferenceIntoKnownOrUnexpected) {
  const auto known = ParsedList(
      "reg | order | listing order | Registry\n"
      "ini | * only | one side | Profile files\n"
      "nothing | * | never seen | Nowhere\n");
  const Comparison result = replay::CompareDumps(m_linux, m_wine, known);
  EXPECT_EQ(6u, result.records);
  ASSERT_EQ(4u, result.differences.size());
  EXPECT_EQ(1u, result.Unexpected());

  EXPECT_EQ("order", result.differences[0].topic);
  EXPECT_EQ(&known[0], result.differences[0].known);
  EXPECT_EQ("value", result.differences[1].topic);
  EXPECT_EQ(nullptr, result.differences[1].known);
  EXPECT_EQ("x", *result.differences[1].left);
  EXPECT_EQ("z", *result.differences[1].right);
  EXPECT_EQ("linux only", result.differences[2].topic);
  EXPECT_FALSE(result.differences[2].right.has_value());
  EXPECT_EQ("wine only", result.differences[3].topic);
  EXPECT_FALSE(result.differences[3].left.has_value());
  EXPECT_EQ(&known[1], result.differences[3].known);

  ASSERT_EQ(1u, result.unused.size());
  EXPECT_EQ(&known[2], result.unused[0]);
}

TEST_F(Comparing, FirstCoveringEntryCounts) {
  const auto known = ParsedList(
      "* | * | anything | first\n"
      "reg | order | listing order | second\n");
  const Comparison result = replay::CompareDumps(m_linux, m_wine, known);
  EXPECT_EQ(0u, result.Unexpected());
  ASSERT_EQ(1u, result.unused.size());
  EXPECT_EQ(2, result.unused[0]->line);
}

TEST_F(Comparing, ReportShowsUnexpectedSidesAndSums) {
  const auto known = ParsedList("reg | order | listing order | Registry: Sorted\n");
  const std::string report =
      replay::Report(replay::CompareDumps(m_linux, m_wine, known), "linux", "wine ", false);
  EXPECT_NE(std::string::npos, report.find("UNEXPECTED ini | value\n    linux: x\n    wine : z\n"));
  EXPECT_NE(std::string::npos,
            report.find("UNEXPECTED ini | wine only\n    linux: (no such record)\n"));
  EXPECT_NE(std::string::npos, report.find("known      reg | order\n"));
  EXPECT_EQ(std::string::npos, report.find("linux: a b"));  // known ones briefly
  EXPECT_NE(std::string::npos, report.find("6 records, 4 differ: 1 known, 3 unexpected\n"));

  const std::string detailed =
      replay::Report(replay::CompareDumps(m_linux, m_wine, known), "linux", "wine ", true);
  EXPECT_NE(std::string::npos, detailed.find("linux: a b\n    wine : b a\n"));
}

TEST(ComparingEqualDumps, FindsNothing) {
  const Dump dump = ParsedDump("s\tt\tc\nrun\tend\t1 scenarios\n");
  const Comparison result = replay::CompareDumps(dump, dump, {});
  EXPECT_EQ(2u, result.records);
  EXPECT_TRUE(result.differences.empty());
  EXPECT_EQ(0u, result.Unexpected());
}

}  // namespace
