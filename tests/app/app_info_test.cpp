#include "app/app_info.h"

#include <gtest/gtest.h>

#include "app/path_probe.h"
#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::Wide;

namespace {

WString Text(const CString &text) { return WString(static_cast<LPCWSTR>(text)); }

TEST(AppInfo, StartsWithNothingLookedUp) {
  CAppInfo info;
  EXPECT_TRUE(info.m_moduleDirectory.IsEmpty());
  EXPECT_TRUE(info.m_modulePath.IsEmpty());
  EXPECT_TRUE(info.m_spare.IsEmpty());
  EXPECT_EQ(0u, info.m_versionInfo.dwOSVersionInfoSize);
  for (LONG value : info.m_reserved) EXPECT_EQ(-1, value);
}

TEST(AppInfo, ModulePathIsThisTestProgram) {
  CAppInfo info;
  WString path = Text(info.GetModulePath());
  EXPECT_EQ(1, ProbePath(path.c_str())) << Narrow(path);
  WString name = Text(FileNameOf(CString(path.c_str())));
  EXPECT_EQ(0u, name.find(Wide("app_tests"))) << Narrow(path);
  // Kept: the second call gives what the first one stored.
  info.m_modulePath = TEXT("X:\\kept\\program.exe");
  EXPECT_EQ(Wide("X:\\kept\\program.exe"), Text(info.GetModulePath()));
}

TEST(AppInfo, ModuleDirectoryEndsWithTheLastBackslash) {
  CAppInfo info;
  WString path = Text(info.GetModulePath());
  WString directory = Text(info.GetModuleDirectory());
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(WCHAR('\\'), directory.back());
  EXPECT_EQ(path, directory + Text(FileNameOf(CString(path.c_str()))));
  EXPECT_EQ(-1, ProbePath(directory.c_str()));
}

struct DirectoryCase {
  const char *modulePath;
  const char *directory;
};

class ModuleDirectoryCases : public testing::TestWithParam<DirectoryCase> {};

TEST_P(ModuleDirectoryCases, CutsTheKnownModulePath) {
  CAppInfo info;
  info.m_modulePath = Wide(GetParam().modulePath).c_str();
  EXPECT_EQ(Wide(GetParam().directory), Text(info.GetModuleDirectory()));
}

INSTANTIATE_TEST_SUITE_P(Table, ModuleDirectoryCases,
                         testing::Values(DirectoryCase{"C:\\tools\\addbar.exe", "C:\\tools\\"},
                                         DirectoryCase{"\\usr\\bin\\addbar", "\\usr\\bin\\"},
                                         DirectoryCase{"C:\\addbar.exe", "C:\\"},
                                         // No backslash: no directory.
                                         DirectoryCase{"addbar.exe", ""}));

TEST(AppInfo, ModuleDirectoryIsKeptOnceComputed) {
  CAppInfo info;
  info.m_modulePath = TEXT("C:\\first\\a.exe");
  EXPECT_EQ(Wide("C:\\first\\"), Text(info.GetModuleDirectory()));
  info.m_modulePath = TEXT("C:\\second\\a.exe");
  EXPECT_EQ(Wide("C:\\first\\"), Text(info.GetModuleDirectory()));
}

TEST(AppInfo, VersionRecordIsReadOnceAndMatchesThePlatform) {
  OSVERSIONINFOA platform = {};
  platform.dwOSVersionInfoSize = sizeof platform;
  ASSERT_TRUE(GetVersionExA(&platform));

  CAppInfo info;
  const OSVERSIONINFOA &record = info.GetVersionInfo();
  EXPECT_EQ(148u, record.dwOSVersionInfoSize);
  EXPECT_EQ(platform.dwMajorVersion, record.dwMajorVersion);
  EXPECT_EQ(platform.dwMinorVersion, record.dwMinorVersion);
  EXPECT_EQ(platform.dwPlatformId, record.dwPlatformId);

  info.m_versionInfo.dwMajorVersion = 99;
  EXPECT_EQ(99u, info.GetVersionInfo().dwMajorVersion) << "read again";
}

}  // namespace
