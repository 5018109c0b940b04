// How values are found in a profile file: line ends, section headers, key
// lines, quotes, comments, case and duplicates.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

struct ReadCase {
  const char *name;
  std::string content;
  const char *section;
  const char *key;
  const char *expected;     // kMissing when the default comes back
  const char *wineDiffers;  // why Wine gives something else, or null
};

void PrintTo(const ReadCase &c, std::ostream *out) { *out << c.name; }

class ProfileReading : public ProfileFileTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ProfileReading, FindsTheValueOfTheTable) {
  const ReadCase &c = GetParam();
  Store(c.content);
  testing_support::KnownWineDifference(
      c.wineDiffers, [&] { EXPECT_EQ(c.expected, ReadValue(PathText(), c.section, c.key)); });
}

const char kBeforeFirstSection[] =
    "Wine puts lines before the first header into a nameless section";
const char kFirstBracket[] = "Wine ends a header at its last ']'";
const char kWineComments[] = "Wine finds a comment line as a key that starts with ';'";

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileReading,
    testing::Values(
        // Line ends.
        ReadCase{"CrLf", "[s]\r\nk=v\r\nj=w\r\n", "s", "j", "w", nullptr},
        ReadCase{"CrOnly", "[s]\rk=v\rj=w\r", "s", "j", "w", nullptr},
        ReadCase{"LfOnly", "[s]\nk=v\nj=w\n", "s", "j", "w", nullptr},
        ReadCase{"LfCrIsTwoEnds", "[s]\n\rk=v\n\r", "s", "k", "v", nullptr},
        ReadCase{"NoFinalBreak", "[s]\r\nk=v", "s", "k", "v", nullptr},
        ReadCase{"BlankLinesAround", "\r\n\r\n[s]\r\n\r\n\r\nk=v\r\n\r\n", "s", "k", "v", nullptr},
        // Section headers.
        ReadCase{"BlanksAroundHeader", " \t[s]\t \r\nk=v\r\n", "s", "k", "v", nullptr},
        ReadCase{"BlanksInsideBrackets", "[ \ts\t ]\r\nk=v\r\n", "s", "k", "v", nullptr},
        ReadCase{"NameEndsAtFirstBracket", "[s]x]\r\nk=v\r\n", "s", "k", "v", kFirstBracket},
        ReadCase{"RestOfHeaderIgnored", "[s] k=w\r\nk=v\r\n", "s", "k", "v", nullptr},
        ReadCase{"MissingBracketTolerated", "[s\r\nk=v\r\n", "s", "k", "v",
                 "Wine takes a header without ']' for a key line"},
        ReadCase{"EmptySectionName", "[]\r\nk=v\r\n", "", "k", "v",
                 "Wine finds no section by an empty name"},
        ReadCase{"EmptySectionNotBeforeFirst", "k=w\r\n[]\r\nk=v\r\n", "", "k", "v",
                 kBeforeFirstSection},
        ReadCase{"LinesBeforeFirstSection", "k=v\r\n[s]\r\nj=w\r\n", "", "k", kMissing,
                 kBeforeFirstSection},
        ReadCase{"SectionEndsAtNextHeader", "[s]\r\n[t]\r\nk=v\r\n", "s", "k", kMissing, nullptr},
        // Key lines.
        ReadCase{"BlanksAroundKeyAndEquals", "[s]\r\n \tk \t= \tv\r\n", "s", "k", "v", nullptr},
        ReadCase{"TrailingBlanksOfValue", "[s]\r\nk=v \t \r\n", "s", "k", "v", nullptr},
        ReadCase{"BlanksInsideKeyAndValue", "[s]\r\nmy key = my  value\r\n", "s", "my key",
                 "my  value", nullptr},
        ReadCase{"FirstEqualsSplits", "[s]\r\nk=a=b\r\n", "s", "k", "a=b", nullptr},
        ReadCase{"EmptyKeyName", "[s]\r\n=v\r\n", "s", "", "v", nullptr},
        ReadCase{"EmptyValue", "[s]\r\nk=\r\n", "s", "k", "", nullptr},
        ReadCase{"BlankValue", "[s]\r\nk= \t \r\n", "s", "k", "", nullptr},
        // Quotes: one matching outer pair goes, after the blanks.
        ReadCase{"DoubleQuotes", "[s]\r\nk=\"a b\"\r\n", "s", "k", "a b", nullptr},
        ReadCase{"SingleQuotes", "[s]\r\nk='a b'\r\n", "s", "k", "a b", nullptr},
        ReadCase{"QuotesKeepInnerBlanks", "[s]\r\nk= \" a \" \r\n", "s", "k", " a ", nullptr},
        ReadCase{"OnlyOnePairGoes", "[s]\r\nk=\"\"a\"\"\r\n", "s", "k", "\"a\"", nullptr},
        ReadCase{"EmptyQuotes", "[s]\r\nk=\"\"\r\n", "s", "k", "", nullptr},
        ReadCase{"UnmatchedQuotesStay", "[s]\r\nk=\"a'\r\n", "s", "k", "\"a'", nullptr},
        ReadCase{"InnerQuotesStay", "[s]\r\nk=a \"b\"\r\n", "s", "k", "a \"b\"", nullptr},
        // Comments.
        ReadCase{"CommentIsInvisible", "[s]\r\n;k=v\r\n", "s", ";k", kMissing, kWineComments},
        ReadCase{"IndentedComment", "[s]\r\n \t;k=v\r\n", "s", ";k", kMissing, kWineComments},
        ReadCase{"CommentBeforeKey", "[s]\r\n;k=x\r\nk=v\r\n", "s", "k", "v", nullptr},
        ReadCase{"SemicolonInValue", "[s]\r\nk=v ;w\r\n", "s", "k", "v ;w", nullptr},
        ReadCase{"SemicolonInKey", "[s]\r\nk;x=v\r\n", "s", "k;x", "v", nullptr},
        ReadCase{"SemicolonInSection", "[s;t]\r\nk=v\r\n", "s;t", "k", "v", nullptr},
        ReadCase{"CommentedHeaderIsNoHeader", "[s]\r\n;[t]\r\nk=v\r\n", "s", "k", "v", nullptr},
        // Case and duplicates.
        ReadCase{"SectionCaseIgnored", "[SeC]\r\nk=v\r\n", "sEc", "k", "v", nullptr},
        ReadCase{"KeyCaseIgnored", "[s]\r\nKeY=v\r\n", "s", "kEy", "v", nullptr},
        ReadCase{"FirstDuplicateKey", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1", nullptr},
        ReadCase{"FirstDuplicateSection", "[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3\r\n", "s", "k", "1",
                 nullptr},
        ReadCase{"LaterDuplicateSectionUnseen", "[s]\r\nk=1\r\n[S]\r\nj=3\r\n", "s", "j", kMissing,
                 nullptr},
        // Missing things.
        ReadCase{"MissingSection", "[s]\r\nk=v\r\n", "t", "k", kMissing, nullptr},
        ReadCase{"MissingKey", "[s]\r\nk=v\r\n", "s", "j", kMissing, nullptr},
        ReadCase{"EmptyFile", "", "s", "k", kMissing, nullptr}),
    [](const testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.name); });

class ProfileDefaults : public ProfileFileTest {};

TEST_F(ProfileDefaults, MissingFileGivesTheDefault) {
  EXPECT_EQ(kMissing, ReadValue(Folder().File("absent.ini"), "s", "k"));
}

TEST_F(ProfileDefaults, NullDefaultGivesEmptyText) {
  Store("[s]\r\nk=v\r\n");
  WCHAR buffer[8] = {'x', 'x', 0};
  EXPECT_EQ(0u, GetPrivateProfileStringW(TEXT("s"), TEXT("j"), nullptr, buffer, 8, Path()));
  EXPECT_EQ(0, buffer[0]);
}

TEST_F(ProfileDefaults, DefaultLosesTrailingBlanks) {
  WCHAR buffer[16];
  DWORD count = GetPrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("one two  "), buffer, 16,
                                         Folder().File("absent.ini").c_str());
  EXPECT_EQ(7u, count);
  EXPECT_EQ(WString(TEXT("one two")), WString(buffer));
}

// The sections, the lines of one section and its key names, as lists.
class ProfileLists : public ProfileFileTest {};

TEST_F(ProfileLists, ListsSectionNamesInFileOrder) {
  Store("x=1\r\n[one]\r\n;[hidden]\r\n[two]\r\nk=v\r\n[Three]\r\n");
  ListResult names = SectionNames(PathText(), 100);
  EXPECT_EQ((std::vector<std::string>{"one", "two", "Three"}), ListStrings(names));
  EXPECT_EQ(14u, names.returned);
  EXPECT_EQ(0, names.buffer[14]);
}

TEST_F(ProfileLists, NullSectionListsSectionNames) {
  Store("[one]\r\nk=v\r\n[two]\r\n");
  ListResult names = KeyNames(PathText(), nullptr, 100);
  EXPECT_EQ((std::vector<std::string>{"one", "two"}), ListStrings(names));
  EXPECT_EQ(8u, names.returned);
}

TEST_F(ProfileLists, NullKeyListsKeysWithEqualsOnly) {
  Store("[s]\r\nk1=v\r\n;c=v\r\nplain\r\n k2 = v \r\nk3=\r\n[t]\r\nk4=v\r\n");
  ListResult keys = KeyNames(PathText(), "S", 100);
  EXPECT_EQ((std::vector<std::string>{"k1", "k2", "k3"}), ListStrings(keys));
  EXPECT_EQ(9u, keys.returned);
}

TEST_F(ProfileLists, SectionGivesEveryNonCommentLine) {
  Store("[s]\r\nname1=val1\r\n;comment\r\n\r\nname2=\r\nname3\r\nname4=val4\r\n[t]\r\nx=y\r\n");
  ListResult lines = SectionLines(PathText(), "s", 100);
  EXPECT_EQ((std::vector<std::string>{"name1=val1", "name2=", "name3", "name4=val4"}),
            ListStrings(lines));
  EXPECT_EQ(35u, lines.returned);
  EXPECT_EQ(0, lines.buffer[35]);
}

TEST_F(ProfileLists, SectionOfFirstDuplicateOnly) {
  Store("[s]\r\na=1\r\n[t]\r\n[S]\r\nb=2\r\n");
  EXPECT_EQ((std::vector<std::string>{"a=1"}), ListStrings(SectionLines(PathText(), "s", 100)));
}

TEST_F(ProfileLists, EmptyOrMissingListsGiveZero) {
  Store("[s]\r\n[t]\r\nk=v\r\n");
  const WString absent = Folder().File("absent.ini");
  struct Call {
    const char *what;
    ListResult result;
  } calls[] = {
      {"lines of a section without lines", SectionLines(PathText(), "s", 10)},
      {"lines of a missing section", SectionLines(PathText(), "u", 10)},
      {"lines in a missing file", SectionLines(absent, "s", 10)},
      {"section names of a missing file", SectionNames(absent, 10)},
  };
  for (const Call &call : calls) {
    EXPECT_EQ(0u, call.result.returned) << call.what;
    EXPECT_EQ(0, call.result.buffer[0]) << call.what;
  }
}

}  // namespace
}  // namespace profile_test
