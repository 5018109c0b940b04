// Where the settings are: the INI file found as written or beside the
// program, and the rule for a bare file name held against where the
// platform's own profile calls put such a file.
#include "app/settings_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

WString Text(const CString &text) { return WString(static_cast<LPCWSTR>(text)); }

bool Exists(const WString &path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A test in a current folder of its own, which goes with it.
class InFreshCurrentFolder : public testing::Test {
 protected:
  void SetUp() override {
    m_before = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(m_current.Path()));
  }
  void TearDown() override { std::filesystem::current_path(m_before); }

  TempDir m_current;
  std::filesystem::path m_before;
};

class IniResolution : public InFreshCurrentFolder {
 protected:
  void SetUp() override {
    InFreshCurrentFolder::SetUp();
    // The module directory, as the program would have it, is a folder of ours.
    m_info.m_moduleDirectory = (m_besideProgram.Path() + Wide("\\")).c_str();
    testing_support::WriteBytes(m_besideProgram.File("beside.ini"), "[s]\r\n");
    testing_support::WriteBytes(m_elsewhere.File("given.ini"), "[s]\r\n");
  }
  TempDir m_besideProgram;
  TempDir m_elsewhere;
  CAppInfo m_info;
};

TEST_F(IniResolution, APathThatNamesAFileIsKeptAsWritten) {
  WString given = m_elsewhere.File("given.ini");
  CString iniPath(given.c_str());
  EXPECT_TRUE(ResolveIniFile(m_info, iniPath));
  EXPECT_EQ(given, Text(iniPath));
}

TEST_F(IniResolution, ABareNameFoundInTheCurrentFolderIsReadThere) {
  // A ':' past the second unit names no drive: the name is bare all the same.
  for (const char *name : {"bare.ini", "bare:colon.ini"}) {
    testing_support::WriteBytes(Wide(name), "[s]\r\n");
    CString iniPath(Wide(name).c_str());
    EXPECT_TRUE(ResolveIniFile(m_info, iniPath)) << name;
    EXPECT_EQ(Wide(".\\") + Wide(name), Text(iniPath));
  }
  // A path with a folder in it stays as written.
  CString relative(TEXT(".\\bare.ini"));
  EXPECT_TRUE(ResolveIniFile(m_info, relative));
  EXPECT_EQ(Wide(".\\bare.ini"), Text(relative));
}

TEST_F(IniResolution, ANameFoundOnlyBesideTheProgramIsTakenFromThere) {
  CString iniPath(TEXT("beside.ini"));
  EXPECT_TRUE(ResolveIniFile(m_info, iniPath));
  EXPECT_EQ(Text(m_info.m_moduleDirectory) + Wide("beside.ini"), Text(iniPath));
}

TEST_F(IniResolution, AFailureLeavesTheRetriedPath) {
  for (WString given : {Wide("missing.ini"), m_elsewhere.Path(), m_elsewhere.File("gone.ini"),
                        Wide("no-folder\\beside.ini"), Wide("nothing*.ini")}) {
    CString iniPath(given.c_str());
    EXPECT_FALSE(ResolveIniFile(m_info, iniPath)) << Narrow(given);
    // Absolute paths and folders are appended to the module directory too.
    EXPECT_EQ(Text(m_info.m_moduleDirectory) + given, Text(iniPath)) << Narrow(given);
  }
}

// Each name is written through the platform's profile call: the file must be
// where ProfileFilePath says, and in the Windows folder exactly when the
// name counts as bare. Each row has a name of its own, since under Wine the
// Windows folder is shared by the tests running side by side.
struct BareNameCase {
  const char *name;
  bool bare;
};

class BareFileName : public InFreshCurrentFolder,
                     public testing::WithParamInterface<BareNameCase> {};

TEST_P(BareFileName, AgreesWithWhereTheProfileCallsPutTheFile) {
  // The stand-in's Windows folder; Wine has its own.
  TempDir windows;
  testing_support::ScopedEnvironment windowsFolder("ADDBAR_WINDOWS_DIR",
                                                   Narrow(windows.Path()).c_str());
  std::filesystem::create_directory(std::filesystem::path(m_current.File("sub")));
  const WString name = Wide(GetParam().name);
  EXPECT_EQ(GetParam().bare, IsBareFileName(name.c_str()));

  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("v"), name.c_str()));
  const WString written = Text(ProfileFilePath(name.c_str()));
  EXPECT_TRUE(Exists(written)) << Narrow(written);
  WCHAR folder[MAX_PATH + 1] = {0};
  UINT length = GetWindowsDirectoryW(folder, MAX_PATH + 1);
  ASSERT_GT(length, 0u);
  const WString inWindowsFolder = WString(folder, length) + Wide("\\") + name;
  EXPECT_EQ(GetParam().bare, Exists(inWindowsFolder)) << Narrow(inWindowsFolder);
  // A file in Wine's Windows folder outlives the test's folders.
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::path(inWindowsFolder), ignored);
}

INSTANTIATE_TEST_SUITE_P(Names, BareFileName,
                         testing::Values(BareNameCase{"bare-plain.ini", true},
                                         BareNameCase{"bare:colon.ini", true},
                                         BareNameCase{".\\bare-dot.ini", false},
                                         BareNameCase{"./bare-slash.ini", false},
                                         BareNameCase{"sub\\bare-sub.ini", false}));

}  // namespace
