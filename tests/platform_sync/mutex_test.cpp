// Named mutexes as the store lock uses them: owned by a thread, taken again
// by its owner, released by the owner alone, and one object per name within
// the session.
#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

#include "support/test_support.h"

using testing_support::Wide;

namespace {

// A name of this test's own: tests of both builds may run side by side.
WString MutexName(const char *purpose, const char *prefix = "Local\\") {
  return Wide(prefix + std::string("addbar-sync-test-") + std::to_string(GetCurrentProcessId()) +
              "-" + purpose);
}

// What another thread gets from a wait of `waitMs` on its own handle of `name`.
DWORD WaitFromAnotherThread(const WString &name, DWORD waitMs) {
  return std::async(std::launch::async,
                    [&] {
                      HANDLE handle = CreateMutexW(nullptr, FALSE, name.c_str());
                      DWORD result = WaitForSingleObject(handle, waitMs);
                      if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) ReleaseMutex(handle);
                      CloseHandle(handle);
                      return result;
                    })
      .get();
}

TEST(Mutex, OwnerTakesItAgainAndReleasesAsOftenAsItTookIt) {
  const WString name = MutexName("recursion");
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(mutex, 0));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(mutex, 0));
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitFromAnotherThread(name, 0));
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitFromAnotherThread(name, 0));
  EXPECT_TRUE(ReleaseMutex(mutex));
  SetLastError(0);
  EXPECT_FALSE(ReleaseMutex(mutex));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_OWNER), GetLastError());
  EXPECT_EQ(WAIT_OBJECT_0, WaitFromAnotherThread(name, 0));
  EXPECT_TRUE(CloseHandle(mutex));
}

TEST(Mutex, OnlyTheOwnerReleasesIt) {
  const WString name = MutexName("not-owner");
  HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
  DWORD error = 0;
  BOOL released = std::async(std::launch::async, [&] {
                    BOOL result = ReleaseMutex(mutex);
                    error = GetLastError();
                    return result;
                  }).get();
  EXPECT_FALSE(released);
  EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_OWNER), error);
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

// "Local\" is the session's namespace, the one a name without prefix is in;
// "Global\" is another.
TEST(Mutex, NamesOfTheSessionMeetAndGlobalOnesStandApart) {
  const WString local = MutexName("namespace");
  HANDLE owned = CreateMutexW(nullptr, TRUE, local.c_str());
  ASSERT_NE(owned, nullptr);
  const WString bare = local.substr(6);
  HANDLE again = CreateMutexW(nullptr, TRUE, bare.c_str());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitFromAnotherThread(bare, 0));
  EXPECT_EQ(WAIT_OBJECT_0, WaitFromAnotherThread(MutexName("namespace", "Global\\"), 0));
  EXPECT_TRUE(ReleaseMutex(owned));
  EXPECT_FALSE(ReleaseMutex(owned));  // bInitialOwner of an existing one gave nothing
  CloseHandle(again);
  CloseHandle(owned);
}

TEST(Mutex, BackslashAfterTheNamespaceNamesNoObject) {
  SetLastError(0);
  EXPECT_EQ(nullptr, CreateMutexW(nullptr, FALSE, MutexName("a\\b").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
}

TEST(Mutex, OwnerThreadThatEndedLeavesItAbandoned) {
  const WString name = MutexName("abandoned");
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  std::thread([&] { EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(mutex, 0)); }).join();
  EXPECT_EQ(static_cast<DWORD>(WAIT_ABANDONED), WaitForSingleObject(mutex, 60000));
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(mutex, 0));
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

TEST(Mutex, ClosedHandleIsNoMutex) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, MutexName("closed").c_str());
  ASSERT_TRUE(CloseHandle(mutex));
  EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(mutex, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
  EXPECT_FALSE(CloseHandle(mutex));
}

}  // namespace
