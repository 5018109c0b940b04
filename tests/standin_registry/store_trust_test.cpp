// What another local user, or the super-user, can do to the store: nest keys
// without end, put something other than a file in its place, make it
// unreadable, plant or hold its lock file, leave temporary files behind, or
// write a user's store as root.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>

#include "store_test_support.h"
#include "support/linux/folder_entries.h"
#include "support/linux/odd_files.h"
#include "support/linux/other_user.h"

using testing_support::FolderEntries;
using testing_support::Narrow;
using testing_support::Wide;

namespace {

class StoreTrust : public StoreTest {
 protected:
  std::string Host() const { return Narrow(StorePath()); }
  std::string Folder() const { return Narrow(m_folder.Path()); }
  std::string LockPath() const { return Host() + ".lock"; }
};

TEST_F(StoreTrust, KeysNestUpTo512LevelsAndNoDeeper) {
  WString path = TEXT("Software");
  for (int level = 2; level <= 512; ++level) path += TEXT("\\k");
  HKEY deepest = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &deepest, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, SetNumber(deepest, TEXT("v"), 7));
  const std::string written = testing_support::ReadBytes(StorePath());
  HKEY deeper = nullptr;
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegCreateKeyExW(deepest, TEXT("one-more"), 0, nullptr, 0,
                                                     KEY_ALL_ACCESS, nullptr, &deeper, nullptr));
  EXPECT_EQ(nullptr, deeper);
  EXPECT_EQ(written, testing_support::ReadBytes(StorePath()));
  RegCloseKey(deepest);

  // What the calls wrote reads back from a fresh copy.
  StoreCopy copy(written);
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key));
  DWORD size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, TEXT("v"), nullptr, nullptr, nullptr, &size));
  RegCloseKey(key);
}

// Things other than a file in the store's place: each call fails at once
// (a FIFO must not wait for a writer), says why once, and the thing stays.
class OddStores : public StoreTrust,
                  public testing::WithParamInterface<testing_support::OddFile> {};

TEST_P(OddStores, AreRefusedAtOnceWithAReason) {
  if (!GetParam().make(Host())) GTEST_SKIP() << "can't be made here (a device needs mknod rights)";
  struct stat before;
  ASSERT_EQ(0, lstat(Host().c_str(), &before));
  testing::internal::CaptureStderr();
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_ACCESS_DENIED,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software"), 0, KEY_READ, &key));
  EXPECT_EQ(ERROR_ACCESS_DENIED,
            RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("Software\\new"), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr));
  EXPECT_EQ(nullptr, key);
  std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_EQ(1, std::count(messages.begin(), messages.end(), '\n')) << messages;
  EXPECT_NE(std::string::npos, messages.find(Host() + " can't be read: it is not a regular file"))
      << messages;
  struct stat after;
  ASSERT_EQ(0, lstat(Host().c_str(), &after));
  EXPECT_EQ(before.st_mode & S_IFMT, after.st_mode & S_IFMT);
}

INSTANTIATE_TEST_SUITE_P(Table, OddStores, testing::ValuesIn(testing_support::OddFiles()),
                         [](const testing::TestParamInfo<testing_support::OddFile> &info) {
                           return std::string(info.param.label);
                         });

TEST_F(StoreTrust, AnUnreadableStoreSaysWhyOnStandardError) {
  RegCloseKey(OpenTestKey());
  const std::string errors = Folder() + "/errors.txt";
  testing_support::WriteBytes(Wide(errors), "");
  ASSERT_EQ(0, chmod(errors.c_str(), 0666));
  ASSERT_EQ(0, chmod(Folder().c_str(), 0755));
  ASSERT_EQ(0, chmod(Host().c_str(), 0));
  int result = testing_support::RunWithoutPrivilege([&] {
    int fd = open(errors.c_str(), O_WRONLY);
    if (fd < 0 || dup2(fd, 2) < 0) return 2;
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software"), 0, KEY_READ, &key) ==
                   ERROR_ACCESS_DENIED
               ? 0
               : 1;
  });
  chmod(Host().c_str(), 0600);
  EXPECT_EQ(0, result);
  std::string messages = testing_support::ReadBytes(Wide(errors));
  EXPECT_EQ(1, std::count(messages.begin(), messages.end(), '\n')) << messages;
  EXPECT_NE(std::string::npos, messages.find(Host() + " can't be read: permission denied"))
      << messages;
}

TEST_F(StoreTrust, TheLockFileIsPrivateWhateverTheUmask) {
  mode_t old = umask(0);
  HKEY key = OpenTestKey();
  umask(old);
  RegCloseKey(key);
  struct stat info;
  ASSERT_EQ(0, stat(LockPath().c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 07777);
}

// Whatever stands in the lock file's place is neither used nor changed: the
// change fails, a line names the file, and nothing is written.
class PlantedStoreLocks : public StoreTrust,
                          public testing::WithParamInterface<testing_support::PlantedFile> {};

TEST_P(PlantedStoreLocks, AreRefusedNamedAndLeftAsTheyAre) {
  const std::string other = Folder() + "/other";
  if (!GetParam().make(LockPath(), other)) GTEST_SKIP() << "only the super-user can plant it";
  const std::string before =
      testing_support::Describe(LockPath()) + testing_support::Describe(other);
  testing::internal::CaptureStderr();
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t"), 0, nullptr,
                                                 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, messages.find(LockPath() + " can't be used: ")) << messages;
  EXPECT_EQ(before, testing_support::Describe(LockPath()) + testing_support::Describe(other));
  EXPECT_FALSE(testing_support::FileExists(StorePath()));
}

INSTANTIATE_TEST_SUITE_P(Table, PlantedStoreLocks,
                         testing::ValuesIn(testing_support::PlantedLockFiles()),
                         [](const testing::TestParamInfo<testing_support::PlantedFile> &info) {
                           return std::string(info.param.label);
                         });

// Another process holds the lock and the store stays as it is: the change is
// given up after the patience, and the next change of the same run gives up
// at once rather than waiting as long again.
TEST_F(StoreTrust, ALockHeldByAnotherProcessIsWaitedForOnlyWhileTheStoreChanges) {
  HKEY key = OpenTestKey();
  ASSERT_EQ(ERROR_SUCCESS, SetNumber(key, TEXT("kept"), 1));
  const std::string before = testing_support::ReadBytes(StorePath());
  // Another open of the lock file holds the lock as another process would.
  int holder = open(LockPath().c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(0, flock(holder, LOCK_EX));
  testing_support::ScopedEnvironment patience("ADDBAR_LOCK_PATIENCE_MS", "1000");
  testing::internal::CaptureStderr();
  EXPECT_EQ(ERROR_LOCK_VIOLATION, SetNumber(key, TEXT("new"), 2));
  auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(ERROR_LOCK_VIOLATION, SetNumber(key, TEXT("other"), 3));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
  std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, messages.find("is held by another process")) << messages;
  EXPECT_EQ(before, testing_support::ReadBytes(StorePath()));
  close(holder);
  EXPECT_EQ(ERROR_SUCCESS, SetNumber(key, TEXT("new"), 2));
  RegCloseKey(key);
}

// ADDBAR_LOCK_PATIENCE_MS takes whole milliseconds from a second to an hour;
// any other value is named on standard error and the default is used.
struct PatienceValue {
  const char *text;
  bool used;
};

class LockPatience : public StoreTrust, public testing::WithParamInterface<PatienceValue> {};

TEST_P(LockPatience, IsWholeMillisecondsFromASecondToAnHour) {
  HKEY key = OpenTestKey();
  testing_support::ScopedEnvironment patience("ADDBAR_LOCK_PATIENCE_MS", GetParam().text);
  testing::internal::CaptureStderr();
  EXPECT_EQ(ERROR_SUCCESS, SetNumber(key, TEXT("v"), 1));
  std::string messages = testing::internal::GetCapturedStderr();
  const std::string refusal =
      std::string("ADDBAR_LOCK_PATIENCE_MS=") + GetParam().text + " is not used";
  EXPECT_EQ(GetParam().used, messages.find(refusal) == std::string::npos) << messages;
  RegCloseKey(key);
}

INSTANTIATE_TEST_SUITE_P(Values, LockPatience,
                         testing::Values(PatienceValue{"1000", true},
                                         PatienceValue{"3600000", true}, PatienceValue{"0", false},
                                         PatienceValue{"999", false},
                                         PatienceValue{"3600001", false},
                                         PatienceValue{"-5000", false},
                                         PatienceValue{"2s", false}));

// Only what a killed writer of this user left is swept: not a live writer's
// file (it holds the file's lock), not another user's, not another file's.
TEST_F(StoreTrust, TemporaryFilesOfKilledWritersAreSweptByTheNextWrite) {
  HKEY key = OpenTestKey();
  std::set<std::string> kept = {"registry.reg.addbar-tmp-toolong",  // no name mkstemp gives
                                "other.reg.addbar-tmp-Ab3dE9",      // another file's
                                "registry.reg.addbar-tmp-Live01"};  // a live writer's
  for (const std::string &name : kept) testing_support::WriteBytes(m_folder.File(name), "x");
  testing_support::WriteBytes(m_folder.File("registry.reg.addbar-tmp-Ab3dE9"), "half a store");
  int live = open((Folder() + "/registry.reg.addbar-tmp-Live01").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(0, flock(live, LOCK_EX));
  const std::string others = Folder() + "/registry.reg.addbar-tmp-Other1";
  if (testing_support::CanActAsOtherUser()) {
    testing_support::WriteBytes(Wide(others), "another user's");
    ASSERT_EQ(0, chown(others.c_str(), testing_support::kOtherUser, testing_support::kOtherUser));
    kept.insert("registry.reg.addbar-tmp-Other1");
  }
  ASSERT_EQ(ERROR_SUCCESS, SetNumber(key, TEXT("v"), 1));
  close(live);
  std::set<std::string> expected = kept;
  expected.insert({"registry.reg", "registry.reg.lock"});
  EXPECT_EQ(expected, FolderEntries(Folder()));
  RegCloseKey(key);
}

TEST_F(StoreTrust, TheSuperUserLeavesAUsersStoreTheUsers) {
  if (!testing_support::CanActAsOtherUser())
    GTEST_SKIP() << "only the super-user can write a store another user owns";
  HKEY key = OpenTestKey();
  ASSERT_EQ(0, chown(Host().c_str(), testing_support::kOtherUser, testing_support::kOtherUser));
  ASSERT_EQ(0, chmod(Host().c_str(), 0640));
  ASSERT_EQ(0, unlink(LockPath().c_str()));
  ASSERT_EQ(ERROR_SUCCESS, SetNumber(key, TEXT("v"), 1));
  // The store, and the lock file made for it, are the user's.
  for (const std::string &path : {Host(), LockPath()}) {
    struct stat info;
    ASSERT_EQ(0, stat(path.c_str(), &info));
    EXPECT_EQ(testing_support::kOtherUser, info.st_uid) << path;
    EXPECT_EQ(testing_support::kOtherUser, info.st_gid) << path;
  }
  struct stat info;
  ASSERT_EQ(0, stat(Host().c_str(), &info));
  EXPECT_EQ(0640u, info.st_mode & 07777);
  RegCloseKey(key);
}

TEST_F(StoreTrust, AStoreWhoseOwnerCantBeKeptIsNotReplaced) {
  if (!testing_support::CanActAsOtherUser())
    GTEST_SKIP() << "needs another user: only the super-user can act as one";
  RegCloseKey(OpenTestKey());
  // Writable by anyone, in a folder anyone may write: still the owner's file.
  ASSERT_EQ(0, chmod(Host().c_str(), 0666));
  ASSERT_EQ(0, chmod(Folder().c_str(), 0777));
  ASSERT_EQ(0, unlink(LockPath().c_str()));
  const std::string before = testing_support::ReadBytes(StorePath());
  int result = testing_support::RunAsOtherUser([] {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t"), 0, KEY_ALL_ACCESS, &key) != 0)
      return 2;
    return SetNumber(key, TEXT("v"), 1) == ERROR_ACCESS_DENIED ? 0 : 1;
  });
  EXPECT_EQ(0, result);
  EXPECT_EQ(before, testing_support::ReadBytes(StorePath()));
  struct stat info;
  ASSERT_EQ(0, stat(Host().c_str(), &info));
  EXPECT_EQ(geteuid(), info.st_uid);
}

}  // namespace
