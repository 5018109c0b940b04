// Where the store lives, how it is written, and sharing it with other
// processes.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <string>

#include "store_test_support.h"
#include "support/linux/folder_entries.h"

using testing_support::FolderEntries;
using testing_support::Narrow;
using testing_support::Wide;

namespace {

TEST_F(StoreTest, MissingFoldersAreMadeOnTheFirstWriteOnly) {
  WString deep = m_folder.File("a/b/c/registry.reg");
  testing_support::ScopedEnvironment pointDeeper("ADDBAR_REGISTRY", Narrow(deep).c_str());
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software"), 0, KEY_READ, &key));
  EXPECT_FALSE(testing_support::FileExists(m_folder.File("a"))) << "reading makes nothing";
  key = OpenTestKey();
  EXPECT_TRUE(testing_support::FileExists(deep));
  RegCloseKey(key);
}

struct Location {
  const char *label;
  const char *xdgConfig;  // relative to the test folder; null = unset
  const char *home;
  const char *expected;
};

class StoreLocations : public StoreTest, public testing::WithParamInterface<Location> {};

TEST_P(StoreLocations, FollowTheConfigurationFolder) {
  std::string folder = Narrow(m_folder.Path());
  const char *xdgConfig = GetParam().xdgConfig;
  std::string xdg = xdgConfig != nullptr && *xdgConfig != '\0' ? folder + xdgConfig : "";
  testing_support::ScopedEnvironment noStore("ADDBAR_REGISTRY", nullptr);
  testing_support::ScopedEnvironment config("XDG_CONFIG_HOME",
                                            GetParam().xdgConfig ? xdg.c_str() : nullptr);
  testing_support::ScopedEnvironment home("HOME", (folder + GetParam().home).c_str());
  HKEY key = OpenTestKey();
  RegCloseKey(key);
  EXPECT_TRUE(testing_support::FileExists(Wide(folder + GetParam().expected)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoreLocations,
    testing::Values(Location{"xdg", "/xdg", "/home", "/xdg/addbar/registry.reg"},
                    Location{"home", nullptr, "/home", "/home/.config/addbar/registry.reg"},
                    Location{"empty_xdg", "", "/home", "/home/.config/addbar/registry.reg"}),
    [](const testing::TestParamInfo<Location> &info) { return std::string(info.param.label); });

TEST_F(StoreTest, WritesLeaveNoTemporaryFilesBehind) {
  HKEY key = OpenTestKey();
  for (int i = 0; i < 20; ++i) SetNumber(key, Wide("v" + std::to_string(i)), i);
  std::set<std::string> expected = {"registry.reg", "registry.reg.lock"};
  EXPECT_EQ(expected, FolderEntries(Narrow(m_folder.Path())));
  RegCloseKey(key);
}

TEST_F(StoreTest, AReadOnlyStoreIsNotWritten) {
  HKEY key = OpenTestKey();
  SetNumber(key, TEXT("kept"), 1);
  std::string before = testing_support::ReadBytes(StorePath());
  testing_support::MakeReadOnly(StorePath());
  EXPECT_EQ(ERROR_ACCESS_DENIED, SetNumber(key, TEXT("new"), 2));
  EXPECT_EQ(before, testing_support::ReadBytes(StorePath()));
  DWORD size = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegQueryValueExW(key, TEXT("new"), nullptr, nullptr, nullptr, &size))
      << "the failed write is not remembered either";
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, TEXT("kept"), nullptr, nullptr, nullptr, &size));
  testing_support::MakeWritable(StorePath());
  RegCloseKey(key);
}

TEST_F(StoreTest, ProcessesWritingAtOnceLoseNothing) {
  const int kWriters = 3, kValues = 30;
  RegCloseKey(OpenTestKey());
  pid_t children[kWriters];
  for (int writer = 0; writer < kWriters; ++writer) {
    children[writer] = fork();
    ASSERT_GE(children[writer], 0);
    if (children[writer] == 0) {
      HKEY key = nullptr;
      int failures = 0;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t"), 0, KEY_ALL_ACCESS, &key) != 0)
        _exit(100);
      for (int i = 0; i < kValues; ++i) {
        std::string name = "w" + std::to_string(writer) + "-" + std::to_string(i);
        if (SetNumber(key, Wide(name), static_cast<DWORD>(i)) != ERROR_SUCCESS) ++failures;
      }
      _exit(failures);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  HKEY key = OpenTestKey();
  DWORD values = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, &values, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(kWriters * kValues), values);
  RegCloseKey(key);
}

TEST_F(StoreTest, ChangesByOtherProcessesAreSeenThroughOpenHandles) {
  const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
  const std::string keyLine = "[HKEY_CURRENT_USER\\Software\\t]\r\n";
  const std::string sameKey = ";addbar-key written=01d0000000000000 id=00000000000000aa\r\n";
  const std::string otherKey = ";addbar-key written=01d0000000000000 id=00000000000000bb\r\n";
  WriteStore(header + keyLine + sameKey);
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t"), 0, KEY_ALL_ACCESS, &key));
  DWORD size = 0;

  WriteStore(header + keyLine + sameKey + "\"added\"=dword:00000001\r\n");
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, TEXT("added"), nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(4u, size);

  WriteStore(header + keyLine + otherKey);  // deleted and made again elsewhere
  EXPECT_EQ(ERROR_KEY_DELETED,
            RegQueryValueExW(key, TEXT("added"), nullptr, nullptr, nullptr, &size));
  WriteStore(header);
  EXPECT_EQ(ERROR_KEY_DELETED, SetNumber(key, TEXT("x"), 1));
  EXPECT_EQ(header, StoreText()) << "a write to a deleted key writes nothing";
  RegCloseKey(key);
}

TEST_F(StoreTest, AHundredThousandKeysAreHandled) {
  const int kKeys = 100000;
  std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
  text.reserve(kKeys * 48);
  for (int i = 0; i < kKeys; ++i) {
    char line[64];
    snprintf(line, sizeof line, "[HKEY_CURRENT_USER\\Software\\t\\k%06d]\r\n", i);
    text += line;
  }
  WriteStore(text);
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t"), 0, KEY_ALL_ACCESS, &key));
  DWORD subKeys = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr);
  EXPECT_EQ(static_cast<DWORD>(kKeys), subKeys);
  WCHAR name[16];
  DWORD length = 16;
  ASSERT_EQ(ERROR_SUCCESS,
            RegEnumKeyExW(key, kKeys - 1, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(WString(TEXT("k099999")), WString(name));

  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ERROR_SUCCESS, SetNumber(key, TEXT("v"), 1));
  auto took = std::chrono::steady_clock::now() - start;
  // Generous: only a write that does far more than rewrite the store once
  // takes this long, however busy the machine.
  EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(took).count(), 60);
  RegCloseKey(key);

  // Read afresh from what was written.
  StoreCopy copy(testing_support::ReadBytes(StorePath()));
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t\\k050000"), 0, KEY_READ, &key));
  RegCloseKey(key);
}

}  // namespace
