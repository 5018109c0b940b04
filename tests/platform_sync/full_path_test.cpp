// GetFullPathNameW and GetFinalPathNameByHandleW as the store lock uses them
// to name an INI file: one spelling for every way of writing the same path,
// then the name of the file it ends at.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

WString FullPath(const WString &path) {
  WCHAR buffer[1024];
  DWORD length = GetFullPathNameW(path.c_str(), 1024, buffer, nullptr);
  EXPECT_GT(length, 0u) << Narrow(path);
  EXPECT_LT(length, 1024u);
  return WString(buffer, length < 1024 ? length : 0);
}

class FullPathSpelling : public testing::TestWithParam<const char *> {
 protected:
  TempDir m_folder;
};

// Each spelling of <folder>\conf\a.ini.
TEST_P(FullPathSpelling, NamesTheSamePath) {
  WString folder = FullPath(m_folder.Path());
  EXPECT_EQ(folder + Wide("\\conf\\a.ini"), FullPath(m_folder.Path() + Wide(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Spellings, FullPathSpelling,
                         testing::Values("\\conf\\a.ini", "/conf/a.ini", "\\.\\conf\\.\\a.ini",
                                         "\\conf\\x\\y\\..\\..\\a.ini", "\\conf\\\\a.ini"));

TEST(FullPath, RelativePathsStartAtTheCurrentFolder) {
  TempDir folder;
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::path(folder.Path()));
  WString here = FullPath(Wide("."));
  WString file = FullPath(Wide("conf\\..\\a.ini"));
  std::filesystem::current_path(before);
  EXPECT_EQ(FullPath(folder.Path()), here);
  EXPECT_EQ(here + Wide("\\a.ini"), file);
}

TEST(FullPath, SizesAndFilePartAsWindowsGivesThem) {
  TempDir folder;
  const WString path = folder.Path() + Wide("\\a.ini");
  const WString full = FullPath(path);
  const DWORD length = static_cast<DWORD>(full.size());
  WCHAR buffer[1024];
  // Too small by the terminator: the size needed, terminator included.
  EXPECT_EQ(length + 1, GetFullPathNameW(path.c_str(), length, buffer, nullptr));
  LPWSTR filePart = nullptr;
  EXPECT_EQ(length, GetFullPathNameW(path.c_str(), length + 1, buffer, &filePart));
  ASSERT_NE(filePart, nullptr);
  EXPECT_EQ(Wide("a.ini"), WString(filePart));
  // A trailing separator stays, and there is no file part.
  EXPECT_EQ(FullPath(folder.Path()) + Wide("\\sub\\"), FullPath(folder.Path() + Wide("\\sub\\")));
  filePart = buffer;
  GetFullPathNameW((folder.Path() + Wide("\\sub\\")).c_str(), 1024, buffer, &filePart);
  EXPECT_EQ(filePart, nullptr);
}

WString FinalPath(const WString &path, DWORD flags) {
  HANDLE opened =
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  EXPECT_NE(opened, INVALID_HANDLE_VALUE) << Narrow(path);
  // Too small a buffer: the size needed, terminator included.
  DWORD needed = GetFinalPathNameByHandleW(opened, nullptr, 0, flags);
  std::vector<WCHAR> buffer(needed + 1);
  DWORD length = GetFinalPathNameByHandleW(opened, buffer.data(), needed, flags);
  CloseHandle(opened);
  EXPECT_EQ(needed - 1, length) << Narrow(path);
  return WString(buffer.data(), length < needed ? length : 0);
}

TEST(FinalPath, NamesWhatAHandleLeadsToInTheLongForm) {
  TempDir folder;
  std::filesystem::create_directory(std::filesystem::path(folder.File("conf")));
  testing_support::WriteBytes(folder.File("conf/a.ini"), "");
  const WString file = FinalPath(folder.File("conf\\..\\conf\\a.ini"), FILE_NAME_NORMALIZED);
  EXPECT_EQ(Wide("\\\\?\\"), file.substr(0, 4)) << Narrow(file);
  // A folder opens with backup semantics, and holds the file by its name.
  EXPECT_EQ(FinalPath(folder.File("conf"), FILE_NAME_NORMALIZED) + Wide("\\a.ini"), file);
  // Without the volume: the same path after the volume's part.
  const WString bare = FinalPath(folder.File("conf\\a.ini"), VOLUME_NAME_NONE);
  ASSERT_FALSE(bare.empty());
  EXPECT_EQ(bare, file.substr(file.size() - bare.size())) << Narrow(bare);
}

}  // namespace
