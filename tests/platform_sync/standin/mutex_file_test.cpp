// The stand-in's named mutexes on the host: private lock files in the
// session's object folder that go with the last handle, what may stand in
// their place, and the mutex of a process that died.
#include <windows.h>

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "support/linux/odd_files.h"
#include "support/linux/other_user.h"
#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::ScopedEnvironment;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

class StandInMutex : public testing::Test {
 protected:
  StandInMutex()
      : m_session(Narrow(m_folder.Path()) + "/session"),
        m_windows("ADDBAR_WINDOWS", (m_session + "/windows").c_str()),
        m_objects(m_session + "/windows.objects") {
    mkdir(m_session.c_str(), 0700);
  }

  mode_t Mode(const std::string &path) {
    struct stat info;
    EXPECT_EQ(0, lstat(path.c_str(), &info)) << path;
    return info.st_mode & 07777;
  }

  TempDir m_folder;
  std::string m_session;
  ScopedEnvironment m_windows;
  std::string m_objects;
};

TEST_F(StandInMutex, LockFileIsPrivateBesideTheWindowFolderAndGoesWithTheLastHandle) {
  const WString name = Wide("Local\\store:A/b.ini");
  HANDLE first = CreateMutexW(nullptr, FALSE, name.c_str());
  ASSERT_NE(first, nullptr);
  HANDLE second = CreateMutexW(nullptr, FALSE, name.c_str());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(0700u, Mode(m_objects));
  // ':' and '/' can't be part of a file name as they are.
  const std::string file = m_objects + "/store%003AA%002Fb.ini.mutex";
  EXPECT_EQ(0600u, Mode(file));
  CloseHandle(first);
  EXPECT_TRUE(testing_support::FileExists(Wide(file)));
  CloseHandle(second);
  EXPECT_FALSE(testing_support::FileExists(Wide(file)));
}

// Whatever stands in a lock file's place is neither used nor changed.
class PlantedMutexFiles : public StandInMutex,
                          public testing::WithParamInterface<testing_support::PlantedFile> {};

TEST_P(PlantedMutexFiles, AreRefusedNamedAndLeftAsTheyAre) {
  ASSERT_EQ(0, mkdir(m_objects.c_str(), 0700));
  const std::string planted = m_objects + "/planted.mutex";
  const std::string other = Narrow(m_folder.Path()) + "/other";
  if (!GetParam().make(planted, other)) GTEST_SKIP() << "only the super-user can plant it";
  const std::string before = testing_support::Describe(planted) + testing_support::Describe(other);
  testing::internal::CaptureStderr();
  SetLastError(0);
  EXPECT_EQ(nullptr, CreateMutexW(nullptr, FALSE, Wide("planted").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, messages.find(planted + " can't be used: ")) << messages;
  EXPECT_EQ(before, testing_support::Describe(planted) + testing_support::Describe(other));
}

INSTANTIATE_TEST_SUITE_P(Table, PlantedMutexFiles,
                         testing::ValuesIn(testing_support::PlantedLockFiles()),
                         [](const testing::TestParamInfo<testing_support::PlantedFile> &info) {
                           return std::string(info.param.label);
                         });

// The object folder may be read by others (they see the objects' names), but
// a folder others may write to, or another user's, could hold their files.
struct ObjectFolderCase {
  const char *name;
  mode_t mode;
  bool anotherUsers;
  bool usable;
};

class ObjectFolders : public StandInMutex, public testing::WithParamInterface<ObjectFolderCase> {};

TEST_P(ObjectFolders, AreUsedOnlyWhenNoOneElseCanAddFiles) {
  ASSERT_EQ(0, mkdir(m_objects.c_str(), 0700));
  ASSERT_EQ(0, chmod(m_objects.c_str(), GetParam().mode));
  if (GetParam().anotherUsers &&
      !(testing_support::CanActAsOtherUser() &&
        chown(m_objects.c_str(), testing_support::kOtherUser, testing_support::kOtherUser) == 0))
    GTEST_SKIP() << "only the super-user can give a folder away";
  SetLastError(0);
  HANDLE mutex = CreateMutexW(nullptr, FALSE, Wide("shared").c_str());
  EXPECT_EQ(GetParam().usable, mutex != nullptr);
  if (mutex != nullptr) CloseHandle(mutex);
  if (!GetParam().usable) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, ObjectFolders,
                         testing::Values(ObjectFolderCase{"Private", 0700, false, true},
                                         ObjectFolderCase{"ReadableByOthers", 0755, false, true},
                                         ObjectFolderCase{"WritableByItsGroup", 0770, false, false},
                                         ObjectFolderCase{"WritableByOthers", 0703, false, false},
                                         ObjectFolderCase{"AnotherUsers", 0700, true, false}),
                         [](const testing::TestParamInfo<ObjectFolderCase> &info) {
                           return std::string(info.param.name);
                         });

// ADDBAR_WINDOWS names a folder whose parent is missing: the object folder is
// not made, and neither are its parents.
TEST_F(StandInMutex, MissingParentsAreNotMade) {
  const std::string absent = Narrow(m_folder.Path()) + "/absent";
  ScopedEnvironment windows("ADDBAR_WINDOWS", (absent + "/windows").c_str());
  SetLastError(0);
  EXPECT_EQ(nullptr, CreateMutexW(nullptr, FALSE, Wide("nowhere").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
  EXPECT_FALSE(testing_support::FileExists(Wide(absent)));
}

// Two processes take one mutex in turns, making and closing it each time, so
// that its file keeps going and coming back: each turn adds one to a number
// in a file, and no turn may overlap another.
TEST_F(StandInMutex, ProcessesThatKeepMakingAndClosingItNeverHoldItTogether) {
  const std::string counter = Narrow(m_folder.Path()) + "/counter";
  std::ofstream(counter) << 0;
  const int kTurns = 300;
  pid_t children[2];
  for (pid_t &child : children) {
    child = fork();
    ASSERT_GE(child, 0);
    if (child != 0) continue;
    for (int turn = 0; turn < kTurns; ++turn) {
      HANDLE mutex = CreateMutexW(nullptr, FALSE, Wide("Local\\turns").c_str());
      if (mutex == nullptr || WaitForSingleObject(mutex, INFINITE) == WAIT_FAILED) _exit(1);
      int count = 0;
      std::ifstream(counter) >> count;
      std::ofstream(counter) << count + 1;
      ReleaseMutex(mutex);
      CloseHandle(mutex);
    }
    _exit(0);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  int count = 0;
  std::ifstream(counter) >> count;
  EXPECT_EQ(2 * kTurns, count);
}

// Another process holds the mutex until it is killed; then the next owner
// is told it was abandoned, and the one after that is not.
TEST_F(StandInMutex, ProcessKilledOwningItLeavesItAbandoned) {
  const WString name = Wide("Local\\killed-owner");
  int ready[2];
  ASSERT_EQ(0, pipe(ready));
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    char taken = WaitForSingleObject(mutex, 0) == WAIT_OBJECT_0 ? 'y' : 'n';
    if (write(ready[1], &taken, 1) != 1) _exit(1);
    while (true) pause();
  }
  close(ready[1]);
  char taken = 0;
  ASSERT_EQ(1, read(ready[0], &taken, 1));
  close(ready[0]);
  ASSERT_EQ('y', taken);

  HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(mutex, 0));
  kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(child, waitpid(child, &status, 0));
  EXPECT_EQ(static_cast<DWORD>(WAIT_ABANDONED), WaitForSingleObject(mutex, 60000));
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(mutex, 0));
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

}  // namespace
