// The stand-in's named mutexes on the host: private lock files in the
// session's object folder, and the mutex of a process that died.
#include <windows.h>

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::ScopedEnvironment;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

class StandInMutex : public testing::Test {
 protected:
  StandInMutex()
      : m_windows("ADDBAR_WINDOWS", (Narrow(m_folder.Path()) + "/session/windows").c_str()),
        m_objects(Narrow(m_folder.Path()) + "/session/windows.objects") {}

  mode_t Mode(const std::string &path) {
    struct stat info;
    EXPECT_EQ(0, lstat(path.c_str(), &info)) << path;
    return info.st_mode & 07777;
  }

  TempDir m_folder;
  ScopedEnvironment m_windows;
  std::string m_objects;
};

TEST_F(StandInMutex, LockFileIsPrivateAndBesideTheWindowFolder) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, Wide("Local\\store:A/b.ini").c_str());
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(0700u, Mode(m_objects));
  // ':' and '/' can't be part of a file name as they are.
  EXPECT_EQ(0600u, Mode(m_objects + "/store%003AA%002Fb.ini.mutex"));
  CloseHandle(mutex);
}

TEST_F(StandInMutex, LinkInPlaceOfTheLockFileIsRefused) {
  ASSERT_EQ(0, mkdir((Narrow(m_folder.Path()) + "/session").c_str(), 0700));
  ASSERT_EQ(0, mkdir(m_objects.c_str(), 0700));
  const std::string target = Narrow(m_folder.Path()) + "/elsewhere";
  ASSERT_EQ(0, symlink(target.c_str(), (m_objects + "/planted.mutex").c_str()));
  SetLastError(0);
  EXPECT_EQ(nullptr, CreateMutexW(nullptr, FALSE, Wide("planted").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_FALSE(testing_support::FileExists(Wide(target)));
}

TEST_F(StandInMutex, FolderOthersMayEnterIsRefused) {
  ASSERT_EQ(0, mkdir((Narrow(m_folder.Path()) + "/session").c_str(), 0700));
  ASSERT_EQ(0, mkdir(m_objects.c_str(), 0700));
  ASSERT_EQ(0, chmod(m_objects.c_str(), 0755));
  SetLastError(0);
  EXPECT_EQ(nullptr, CreateMutexW(nullptr, FALSE, Wide("shared").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
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
