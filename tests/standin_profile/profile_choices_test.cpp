// Behaviour the stand-in had to choose where Windows' own is not known, and
// the stand-in's Windows folder for bare file names.
#include <windows.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

class StandInChoices : public ProfileFileTest {};

TEST_F(StandInChoices, LineWithoutEqualsHasNoValue) {
  Store("[s]\r\nplain\r\n");
  EXPECT_EQ(kMissing, ReadValue(PathText(), "s", "plain"));
  EXPECT_EQ(std::vector<std::string>{"plain"}, ListStrings(SectionLines(PathText(), "s", 20)));
}

TEST_F(StandInChoices, SectionLinesLoseTheBlanksAroundKeyAndValue) {
  Store("[s]\r\n  k  =  \"v\"  \r\n  plain text  \r\n");
  EXPECT_EQ((std::vector<std::string>{"k=\"v\"", "plain text"}),
            ListStrings(SectionLines(PathText(), "s", 40)));
}

TEST_F(StandInChoices, EveryHeaderIsListedDuplicatesToo) {
  Store("[a]\r\n[b]\r\n[A]\r\n");
  EXPECT_EQ((std::vector<std::string>{"a", "b", "A"}), ListStrings(SectionNames(PathText(), 20)));
}

TEST_F(StandInChoices, NewValueReplacesQuotesAndAll) {
  Store("[s]\r\nk = \"old\" ;x\r\n");
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("new"), Path()));
  EXPECT_EQ("[s]\r\nk = new\r\n", Stored());
}

TEST_F(StandInChoices, ValueOfBlanksGetsTheNewValueAfterThem) {
  Store("[s]\r\nk=  \r\n");
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("v"), Path()));
  EXPECT_EQ("[s]\r\nk=  v\r\n", Stored());
}

TEST_F(StandInChoices, OddLastByteOfUtf16FileStaysAtTheEndAndOutOfEveryLine) {
  Store(Utf16Bytes("[s]\r\nk=v\r\n") + "x");
  EXPECT_EQ(std::vector<std::string>{"k=v"}, ListStrings(SectionLines(PathText(), "s", 20)));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("added"), TEXT("new"), Path()));
  EXPECT_EQ(Utf16Bytes("[s]\r\nk=v\r\nadded=new\r\n") + "x", Stored());
}

TEST_F(StandInChoices, EmptyValueCountsAsMissingForNumbers) {
  Store("[s]\r\nk=\r\n");
  EXPECT_EQ(9u, GetPrivateProfileIntW(TEXT("s"), TEXT("k"), 9, Path()));
}

TEST_F(StandInChoices, SameValueLeavesTheFileUntouched) {
  Store("[s]\r\nk=1\r\n");
  struct stat before, after;
  ASSERT_EQ(0, stat(testing_support::Narrow(PathText()).c_str(), &before));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("1"), Path()));
  ASSERT_EQ(0, stat(testing_support::Narrow(PathText()).c_str(), &after));
  EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(StandInChoices, PlainFileIsNormal) {
  Store("x");
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL), GetFileAttributesW(Path()));
}

TEST_F(StandInChoices, SearchForEverythingFindsTheFolderItselfFirst) {
  Store("x");
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(Folder().File("*").c_str(), &data);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  EXPECT_EQ(WString(TEXT(".")), WString(data.cFileName));
  EXPECT_NE(0u, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(FindClose(search));
  EXPECT_FALSE(FindClose(search));
  EXPECT_FALSE(CloseHandle(search)) << "a search handle is no file handle";
}

TEST_F(StandInChoices, BareNameLivesInTheWindowsFolder) {
  testing_support::ScopedEnvironment folder("ADDBAR_WINDOWS_DIR",
                                            testing_support::Narrow(Folder().Path()).c_str());
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("v"), TEXT("bare.ini")));
  EXPECT_EQ("[s]\r\nk=v\r\n", testing_support::ReadBytes(Folder().File("bare.ini")));
  WCHAR buffer[8];
  EXPECT_EQ(1u,
            GetPrivateProfileStringW(TEXT("s"), TEXT("k"), nullptr, buffer, 8, TEXT("bare.ini")));
}

TEST_F(StandInChoices, BareNameWithoutWindowsFolderNamesNoFile) {
  testing_support::ScopedEnvironment folder("ADDBAR_WINDOWS_DIR", nullptr);
  EXPECT_EQ(kMissing, ReadValue(WString(TEXT("bare.ini")), "s", "k"));
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("v"), TEXT("bare.ini")));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
}

}  // namespace
}  // namespace profile_test
