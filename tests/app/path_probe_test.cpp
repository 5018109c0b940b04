#include "app/path_probe.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

// A folder holding one file "settings.ini" and one folder "layouts".
class ProbePathTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::WriteBytes(m_folder.File("settings.ini"), "[a]\r\nb=1\r\n");
    WString sub = m_folder.File("layouts");
    ASSERT_EQ(0, ProbePath(sub.c_str())) << "the folder must not exist yet";
    MakeFolder(sub);
  }
  static void MakeFolder(const WString &path);
  TempDir m_folder;
};

void ProbePathTest::MakeFolder(const WString &path) {
  std::error_code error;
  std::filesystem::create_directory(std::filesystem::path(path), error);
  ASSERT_FALSE(error) << Narrow(path);
}

struct ProbeCase {
  const char *name;  // below the test folder; null = the folder itself
  int expected;
};

class ProbePathCases : public ProbePathTest, public testing::WithParamInterface<ProbeCase> {};

TEST_P(ProbePathCases, TellsFilesFromFoldersAndNothing) {
  const ProbeCase &c = GetParam();
  WString path = c.name == nullptr ? m_folder.Path() : m_folder.File(c.name);
  EXPECT_EQ(c.expected, ProbePath(path.c_str())) << Narrow(path);
}

INSTANTIATE_TEST_SUITE_P(Table, ProbePathCases,
                         testing::Values(ProbeCase{"settings.ini", 1}, ProbeCase{"layouts", -1},
                                         ProbeCase{nullptr, -1}, ProbeCase{"missing.ini", 0},
                                         ProbeCase{"missing\\settings.ini", 0},
                                         // Wild cards: a match counts as what it matches.
                                         ProbeCase{"*.ini", 1}, ProbeCase{"settings.?ni", 1},
                                         ProbeCase{"lay*", -1}, ProbeCase{"nothing*.ini", 0},
                                         ProbeCase{"*.none", 0}));

TEST(ProbePath, AnEmptyOrNullPathIsNothing) {
  EXPECT_EQ(0, ProbePath(TEXT("")));
  EXPECT_EQ(0, ProbePath(nullptr));
}

TEST(ProbePath, AFileSystemRootIsAFolder) {
  // The root of the drive (or file system) that holds the temporary folder:
  // a search does not find it, its attributes do.
  TempDir folder;
  const WString &path = folder.Path();
  size_t separator = path.find_first_of(Wide("\\/"));
  ASSERT_NE(WString::npos, separator);
  WString root = path.substr(0, separator + 1);
  EXPECT_EQ(-1, ProbePath(root.c_str())) << Narrow(root);
}

struct FileNameCase {
  const char *path;
  const char *fileName;
};

class FileNameOfCases : public testing::TestWithParam<FileNameCase> {};

TEST_P(FileNameOfCases, TakesWhatFollowsTheLastBackslash) {
  CString path(Wide(GetParam().path).c_str());
  EXPECT_EQ(Wide(GetParam().fileName), WString(static_cast<LPCWSTR>(FileNameOf(path))));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileNameOfCases,
    testing::Values(FileNameCase{"C:\\tools\\addbar.exe", "addbar.exe"},
                    FileNameCase{"addbar.exe", "addbar.exe"},
                    FileNameCase{"\\usr\\bin\\addbar", "addbar"},
                    FileNameCase{"Software\\Harrowmede Plc\\vantrove_UC.work", "vantrove_UC.work"},
                    FileNameCase{"C:\\tools\\", ""}, FileNameCase{"\\", ""}, FileNameCase{"", ""},
                    // Only backslashes separate: the core sees Windows-form paths.
                    FileNameCase{"dir/addbar", "dir/addbar"},
                    FileNameCase{"a\\b c\\d e.exe", "d e.exe"}));

}  // namespace
