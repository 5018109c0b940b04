// The store's run mutex: one mutex name per store however its path is written, and
// one holder at a time, with a holder that ended leaving it to the next.
#include "app/store_run_mutex.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

WString LockName(const WString &iniPath) { return Wide(MakeStoreRunMutexName(iniPath.c_str())); }

// Lower case, and '/' for every separator.
WString Folded(WString text) {
  for (WCHAR &unit : text) {
    if (unit >= 'A' && unit <= 'Z') unit = static_cast<WCHAR>(unit + 32);
    if (unit == '\\') unit = '/';
  }
  return text;
}

TEST(StoreRunMutexName, RegistryIsOneStoreWhateverTheLayout) {
  EXPECT_EQ(Wide(MakeStoreRunMutexName(nullptr)), LockName(WString()));
  EXPECT_EQ(Narrow(LockName(WString())), "Local\\addbar-settings-registry");
}

// Spellings of folder\conf\settings.ini that Windows takes for one file.
class SameIniFile : public testing::TestWithParam<const char *> {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(std::filesystem::path(m_folder.File("conf")));
    testing_support::WriteBytes(m_folder.File("conf/settings.ini"), "");
  }
  TempDir m_folder;
};

TEST_P(SameIniFile, GetsTheSameName) {
  const WString plain = m_folder.Path() + Wide("\\conf\\settings.ini");
  const WString other = m_folder.Path() + Wide(GetParam());
  EXPECT_EQ(LockName(plain), LockName(other)) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Spellings, SameIniFile,
                         testing::Values("/conf/settings.ini", "\\CONF\\Settings.INI",
                                         "\\.\\conf\\settings.ini", "\\conf\\x\\..\\settings.ini",
                                         "\\\\conf\\\\settings.ini"));

// The file a path ends at names the lock, not the text that led there: a
// folder reached through a link is the same folder, for a file and for one
// not made yet.
TEST(StoreRunMutexName, ALinkedFolderLeadsToTheSameName) {
  TempDir folder;
  std::filesystem::create_directory(std::filesystem::path(folder.File("real")));
  testing_support::WriteBytes(folder.File("real/settings.ini"), "");
  if (!testing_support::MakeFolderLink(folder.File("link"), folder.File("real")))
    GTEST_SKIP() << "this system does not let a test make a link";
  EXPECT_EQ(LockName(folder.File("real\\settings.ini")),
            LockName(folder.File("link\\settings.ini")));
  EXPECT_EQ(LockName(folder.File("real\\new.ini")), LockName(folder.File("link\\new.ini")));
}

// Spellings only the Linux host has: the current folder as /proc/self/cwd,
// and ".." after a link, which the host takes from where the link leads
// (Windows takes ".." out of the text before it opens anything).
TEST(StoreRunMutexName, HostSpellingsOfOneFileGetTheSameName) {
  SKIP_UNLESS_STANDIN("these are spellings of the Linux host");
  TempDir folder;
  std::filesystem::create_directories(std::filesystem::path(folder.File("real/sub")));
  testing_support::WriteBytes(folder.File("real/settings.ini"), "");
  ASSERT_TRUE(testing_support::MakeFolderLink(folder.File("link"), folder.File("real/sub")));
  const WString plain = LockName(folder.File("real/settings.ini"));
  EXPECT_EQ(plain, LockName(folder.File("link/../settings.ini")));
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::path(folder.File("real")));
  WString throughProc = LockName(Wide("/proc/self/cwd/settings.ini"));
  std::filesystem::current_path(before);
  EXPECT_EQ(plain, throughProc);
}

TEST(StoreRunMutexName, OtherFilesGetOtherNames) {
  TempDir folder;
  WString first = LockName(folder.File("a.ini"));
  EXPECT_NE(first, LockName(folder.File("b.ini")));
  EXPECT_NE(first, LockName(WString()));
  // The full path, case folded, with no backslash after the namespace.
  WString expected = Folded(folder.File("a.ini"));
  EXPECT_NE(first.find(expected.substr(expected.size() - 10)), WString::npos) << Narrow(first);
  EXPECT_EQ(first.find('\\', 6), WString::npos) << Narrow(first);
}

TEST(StoreRunMutexName, LongPathsFitTheLimitOfNames) {
  TempDir folder;
  WString deep = folder.File(std::string(300, 'd') + "\\settings.ini");
  WString name = LockName(deep);
  EXPECT_LT(name.size(), static_cast<size_t>(MAX_PATH)) << Narrow(name);
  EXPECT_EQ(name.find('\\', 6), WString::npos);
  EXPECT_NE(name, LockName(folder.File(std::string(300, 'd') + "\\other.ini")));
}

// A name without a folder is read by the profile calls in the Windows
// folder, whatever the current one.
TEST(StoreRunMutexName, BareFileNameIsTheWindowsFolders) {
  TempDir folder;
  testing_support::ScopedEnvironment windowsFolder("ADDBAR_WINDOWS_DIR",
                                                   Narrow(folder.Path()).c_str());
  WCHAR windows[MAX_PATH + 1] = {0};
  UINT length = GetWindowsDirectoryW(windows, MAX_PATH + 1);
  ASSERT_GT(length, 0u);
  ASSERT_LE(length, static_cast<UINT>(MAX_PATH));
  EXPECT_EQ(LockName(Wide("vantrove.ini")),
            LockName(WString(windows, length) + Wide("\\vantrove.ini")));
}

// A name of this test's own: tests of both builds may run side by side.
WString TestMutexName(const char *purpose) {
  return Wide("Local\\addbar-test-" + std::to_string(GetCurrentProcessId()) + "-" + purpose);
}

TEST(StoreRunMutex, SecondHolderWaitsForTheFirst) {
  const WString name = TestMutexName("second-holder");
  CStoreRunMutex first;
  ASSERT_EQ(StoreRunMutexResult::Held, first.Acquire(name.c_str(), 0));

  std::promise<StoreRunMutexResult> whileHeld;
  std::promise<void> released;
  StoreRunMutexResult afterRelease = StoreRunMutexResult::Failed;
  std::thread second([&] {
    CStoreRunMutex lock;
    whileHeld.set_value(lock.Acquire(name.c_str(), 50));
    released.get_future().wait();
    afterRelease = lock.Acquire(name.c_str(), 60000);
  });
  EXPECT_EQ(StoreRunMutexResult::Busy, whileHeld.get_future().get());
  first.Release();
  released.set_value();
  second.join();
  EXPECT_EQ(StoreRunMutexResult::Held, afterRelease);
}

TEST(StoreRunMutex, HolderThatEndedWithoutReleasingLeavesItToTheNext) {
  const WString name = TestMutexName("ended-holder");
  std::unique_ptr<CStoreRunMutex> ended(new CStoreRunMutex);
  std::thread holder(
      [&] { ASSERT_EQ(StoreRunMutexResult::Held, ended->Acquire(name.c_str(), 0)); });
  holder.join();
  CStoreRunMutex next;
  EXPECT_EQ(StoreRunMutexResult::Held, next.Acquire(name.c_str(), 60000));
}

}  // namespace
