// WritePrivateProfileStringW edits the file in place: every byte the write
// does not change stays as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

using testing_support::Wide;

// A UTF-8 argument as UTF-16, null staying null.
struct Text {
  explicit Text(const char *utf8) : null(utf8 == nullptr), text(null ? WString() : Wide(utf8)) {}
  LPCWSTR Get() const { return null ? nullptr : text.c_str(); }
  bool null;
  WString text;
};

struct EditCase {
  const char *name;
  std::string before;  // kNoFile = no file
  const char *section;
  const char *key;
  const char *value;
  std::string after;
  const char *wineDiffers;
};

void PrintTo(const EditCase &c, std::ostream *out) { *out << c.name; }

const char kNoFile[] = "(none)";
const char kWineRewrites[] = "Wine writes the whole file anew, without blank lines or spacing";
const char kWineSuperUser[] = "Wine run by the super-user writes files that are read-only";
const char kWineAppends[] = "Wine puts a new key after the section's trailing comments";

class InPlaceEdit : public ProfileFileTest, public testing::WithParamInterface<EditCase> {};

TEST_P(InPlaceEdit, ChangesOnlyTheEntryWritten) {
  const EditCase &c = GetParam();
  if (c.before != kNoFile) Store(c.before);
  Text section(c.section), key(c.key), value(c.value);
  ASSERT_TRUE(WritePrivateProfileStringW(section.Get(), key.Get(), value.Get(), Path()));
  testing_support::KnownWineDifference(c.wineDiffers, [&] { EXPECT_EQ(c.after, Stored()); });
}

INSTANTIATE_TEST_SUITE_P(
    Table, InPlaceEdit,
    testing::Values(
        // Changing a value.
        EditCase{"ChangeValue", "[s]\r\nk=1\r\nj=2\r\n", "s", "k", "10", "[s]\r\nk=10\r\nj=2\r\n",
                 nullptr},
        EditCase{"ChangeKeepsSpacingAndComments",
                 "; head\r\n\r\n[s]\r\n  k = old  \r\n\r\n;c\r\nj=2\r\n", "s", "k", "new",
                 "; head\r\n\r\n[s]\r\n  k = new  \r\n\r\n;c\r\nj=2\r\n", kWineRewrites},
        EditCase{"ChangeKeepsLineEnds", "[s]\nk=1\rj=2\n", "s", "j", "3", "[s]\nk=1\rj=3\n",
                 kWineRewrites},
        EditCase{"ChangeKeepsCase", "[SeC]\r\nKeY=1\r\n", "sec", "key", "2", "[SeC]\r\nKeY=2\r\n",
                 nullptr},
        EditCase{"ChangeFirstOfDuplicates", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "3",
                 "[s]\r\nk=3\r\nk=2\r\n", nullptr},
        EditCase{"ChangeWithoutFinalBreak", "[s]\r\nk=1", "s", "k", "2", "[s]\r\nk=2",
                 kWineRewrites},
        EditCase{"ValueWrittenAsGiven", "[s]\r\n", "s", "k", " a \"b\" ", "[s]\r\nk= a \"b\" \r\n",
                 "Wine drops the blanks at the start of a value it writes"},
        EditCase{"EmptyValue", kNoFile, "App", "key", "", "[App]\r\nkey=\r\n", nullptr},
        // New keys.
        EditCase{"NewKeyAfterLastKey", "[s]\r\nk=1\r\n[t]\r\n", "s", "j", "2",
                 "[s]\r\nk=1\r\nj=2\r\n[t]\r\n", nullptr},
        EditCase{"NewKeyBeforeTrailingComments", "[s]\r\nk=1\r\n;c\r\n\r\n[t]\r\n", "s", "j", "2",
                 "[s]\r\nk=1\r\nj=2\r\n;c\r\n\r\n[t]\r\n", kWineAppends},
        EditCase{"NewKeyInSectionWithoutKeys", "[s]\r\n[t]\r\nk=1\r\n", "s", "j", "2",
                 "[s]\r\nj=2\r\n[t]\r\nk=1\r\n", nullptr},
        EditCase{"NewKeyAfterHeaderWithoutBreak", "[s]", "s", "k", "v", "[s]\r\nk=v\r\n", nullptr},
        EditCase{"NewKeyAfterLastLineWithoutBreak", "[s]\r\nk=1", "s", "j", "2",
                 "[s]\r\nk=1\r\nj=2\r\n", nullptr},
        EditCase{"NewKeyInLfFile", "[s]\nk=1\n[t]\n", "s", "j", "2", "[s]\nk=1\nj=2\r\n[t]\n",
                 kWineRewrites},
        EditCase{"NewKeyInFirstDuplicateSection", "[s]\r\nk=1\r\n[s]\r\nk=2\r\n", "s", "j", "3",
                 "[s]\r\nk=1\r\nj=3\r\n[s]\r\nk=2\r\n", nullptr},
        // New sections.
        EditCase{"NewSectionAtEnd", "[s]\r\nk=1\r\n", "t", "j", "2", "[s]\r\nk=1\r\n[t]\r\nj=2\r\n",
                 nullptr},
        EditCase{"NewSectionAfterTrailingComment", "[s]\r\nk=1\r\n;end\r\n\r\n", "t", "j", "2",
                 "[s]\r\nk=1\r\n;end\r\n\r\n[t]\r\nj=2\r\n", kWineRewrites},
        EditCase{"NewSectionWhenNoFinalBreak", "[s]\r\nk=1", "t", "j", "2",
                 "[s]\r\nk=1\r\n[t]\r\nj=2\r\n", nullptr},
        EditCase{"NewSectionInLfFile", "[s]\nk=1\n", "t", "j", "2", "[s]\nk=1\n[t]\r\nj=2\r\n",
                 kWineRewrites},
        EditCase{"NewSectionInEmptyFile", "", "t", "j", "2", "[t]\r\nj=2\r\n", nullptr},
        EditCase{"NewFile", kNoFile, "t", "j", "2", "[t]\r\nj=2\r\n", nullptr},
        EditCase{"KeepsNullBytesBeforeFirstSection", std::string("Da\0ta\0", 6), "s", "k", "v",
                 std::string("Da\0ta\0\r\n[s]\r\nk=v\r\n", 18), kWineRewrites},
        // Deleting.
        EditCase{"DeleteKey", "[s]\r\nk=1\r\nj=2\r\n", "s", "k", nullptr, "[s]\r\nj=2\r\n",
                 nullptr},
        EditCase{"DeleteLastKeyLeavesHeader", "[s]\r\nk=1\r\n", "s", "k", nullptr, "[s]\r\n",
                 nullptr},
        EditCase{"DeleteKeyKeepsTheRest", "[s]\r\n;c\r\n  k = 1\r\n\r\nj=2\r\n", "s", "k", nullptr,
                 "[s]\r\n;c\r\n\r\nj=2\r\n", kWineRewrites},
        EditCase{"DeleteMissingKey", "[s]\r\n\r\nk=1\r\n", "s", "x", nullptr, "[s]\r\n\r\nk=1\r\n",
                 nullptr},
        EditCase{"DeleteKeyWithoutFinalBreak", "[s]\r\nj=2\r\nk=1", "s", "k", nullptr,
                 "[s]\r\nj=2\r\n", nullptr},
        EditCase{"DeleteSection", "[a]\r\nx=1\r\n[s]\r\nk=1\r\nj=2\r\n[t]\r\ny=3\r\n", "s", nullptr,
                 nullptr, "[a]\r\nx=1\r\n[t]\r\ny=3\r\n", nullptr},
        EditCase{"DeleteSectionKeepsCommentsAndBlanks",
                 "[a]\r\nx=1\r\n[s]\r\n;note\r\nk=1\r\n\r\nplain\r\n[t]\r\ny=3\r\n", "s", nullptr,
                 "ignored", "[a]\r\nx=1\r\n;note\r\n\r\n[t]\r\ny=3\r\n", kWineRewrites},
        EditCase{"DeleteFirstDuplicateSection", "[s]\r\nk=1\r\n[s]\r\nk=2\r\n", "s", nullptr,
                 nullptr, "[s]\r\nk=2\r\n", nullptr},
        EditCase{"DeleteInMissingFileMakesItEmpty", kNoFile, "s", "k", nullptr, "", nullptr},
        EditCase{"DeleteSectionInMissingFileMakesItEmpty", kNoFile, "s", nullptr, nullptr, "",
                 nullptr}),
    [](const testing::TestParamInfo<EditCase> &info) { return std::string(info.param.name); });

class ProfileWriting : public ProfileFileTest {};

TEST_F(ProfileWriting, BuildsAFileEntryByEntry) {
  const struct {
    const char *section, *key, *value;
  } writes[] = {{"App1", "key1", "string1"}, {"App1", "key2", "string2"},
                {"App1", "key3", "string3"}, {"App2", "key4", "string4"},
                {"App3", "key5", "string5"}, {"App1", "key2", nullptr},
                {"App1", nullptr, nullptr}};
  for (const auto &w : writes) {
    Text section(w.section), key(w.key), value(w.value);
    ASSERT_TRUE(WritePrivateProfileStringW(section.Get(), key.Get(), value.Get(), Path()));
  }
  EXPECT_EQ("[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n", Stored());
  EXPECT_EQ("string5", ReadValue(PathText(), "app3", "KEY5"));
}

TEST_F(ProfileWriting, NullSectionFailsAndCreatesNothing) {
  SetLastError(0xDEADBEEF);
  EXPECT_FALSE(WritePrivateProfileStringW(nullptr, TEXT("k"), TEXT("v"), Path()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
  EXPECT_FALSE(testing_support::FileExists(PathText()));

  Store("[s]\r\n");
  EXPECT_FALSE(WritePrivateProfileStringW(nullptr, TEXT("k"), TEXT("v"), Path()));
  EXPECT_EQ("[s]\r\n", Stored());
}

TEST_F(ProfileWriting, EmptyFileNameIsDenied) {
  SetLastError(0xDEADBEEF);
  EXPECT_FALSE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("v"), TEXT("")));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
}

TEST_F(ProfileWriting, MissingFolderFails) {
  const WString inner = Folder().File("x.ini");
  const WString path = Folder().File("no-such-folder") + inner.substr(Folder().Path().size());
  SetLastError(0xDEADBEEF);
  EXPECT_FALSE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("v"), path.c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
}

TEST_F(ProfileWriting, ReadOnlyFileIsNeverChanged) {
  const char *wineDiffers = testing_support::AsWineSuperUser(kWineSuperUser);
  const std::string before = "[s]\r\nk=1\r\n";
  Store(before);
  testing_support::MakeReadOnly(PathText());
  const struct {
    const char *what;
    LPCWSTR key, value;
  } writes[] = {{"change", TEXT("k"), TEXT("2")},
                {"add", TEXT("j"), TEXT("2")},
                {"delete key", TEXT("k"), nullptr},
                {"delete section", nullptr, nullptr}};
  for (const auto &w : writes) {
    SetLastError(0xDEADBEEF);
    const BOOL written = WritePrivateProfileStringW(TEXT("s"), w.key, w.value, Path());
    const DWORD error = GetLastError();
    testing_support::KnownWineDifference(wineDiffers, [&] { EXPECT_FALSE(written) << w.what; });
    testing_support::KnownWineDifference(
        wineDiffers, [&] { EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), error) << w.what; });
  }
  BYTE data[2] = {1, 2};
  const BOOL written = WritePrivateProfileStructW(TEXT("s"), TEXT("b"), data, 2, Path());
  testing_support::KnownWineDifference(wineDiffers, [&] { EXPECT_FALSE(written); });
  testing_support::KnownWineDifference(wineDiffers, [&] { EXPECT_EQ(before, Stored()); });
  testing_support::KnownWineDifference(wineDiffers,
                                       [&] { EXPECT_EQ("1", ReadValue(PathText(), "s", "k")); });
  testing_support::MakeWritable(PathText());
}

TEST_F(ProfileWriting, ReadsBackWhatItWroteAndWhatOthersWrote) {
  Store("[s]\r\nk=old\r\n");
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("new"), Path()));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("t"), TEXT("j"), TEXT("x"), Path()));
  EXPECT_EQ("new", ReadValue(PathText(), "s", "k"));
  EXPECT_EQ("x", ReadValue(PathText(), "t", "j"));
  Store("[s]\r\nk=external\r\n");
  EXPECT_EQ("external", ReadValue(PathText(), "s", "k"));
  EXPECT_EQ(kMissing, ReadValue(PathText(), "t", "j"));
}

}  // namespace
}  // namespace profile_test
