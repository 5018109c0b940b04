// The stand-in's windows: the folder they live in, sockets left by dead
// owners, and the owning side's waiting and answering.
#include <standin_window.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/linux/folder_entries.h"
#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::ScopedEnvironment;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

const WString kTitle = Wide("vantrove_CommPort");
// Long enough for a sender thread on the busiest machine: only a wait that
// went wrong ends by it.
const DWORD kSenderPatienceMs = 60000;

int CountEntries(const std::string &folder) {
  return static_cast<int>(testing_support::FolderEntries(folder).size());
}

mode_t ModeOf(const std::string &path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

class WindowFolderTest : public testing::Test {
 protected:
  WindowFolderTest() : m_folder(Narrow(m_temp.File("windows"))) {}
  TempDir m_temp;
  std::string m_folder;
};

TEST_F(WindowFolderTest, SocketOfADeadOwnerIsNoWindowAndIsRemoved) {
  ScopedEnvironment windows("ADDBAR_WINDOWS", m_folder.c_str());
  pid_t child = fork();
  if (child == 0) {
    // Dies holding the window: the socket stays behind.
    _exit(StandinCreateWindow(kTitle.c_str()) != nullptr ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(CountEntries(m_folder), 1);

  EXPECT_EQ(FindWindowW(nullptr, kTitle.c_str()), nullptr);
  EXPECT_EQ(CountEntries(m_folder), 0);

  StandinWindow *window = StandinCreateWindow(kTitle.c_str());
  ASSERT_NE(window, nullptr);
  EXPECT_NE(FindWindowW(nullptr, kTitle.c_str()), nullptr);
  StandinDestroyWindow(window);
  EXPECT_EQ(CountEntries(m_folder), 0);
}

TEST_F(WindowFolderTest, MissingFolderHoldsNoWindowAndIsMadePrivate) {
  ScopedEnvironment windows("ADDBAR_WINDOWS", m_folder.c_str());
  EXPECT_EQ(FindWindowW(nullptr, kTitle.c_str()), nullptr);
  EXPECT_FALSE(std::filesystem::exists(m_folder));
  StandinWindow *window = StandinCreateWindow(kTitle.c_str());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ModeOf(m_folder), 0700u);
  StandinDestroyWindow(window);
}

// Folders that can't hold windows: nothing is found there, and no window can
// be made there. Each case makes its folder in `temp` and names it.
struct UnusableFolder {
  const char *name;
  std::string (*prepare)(const std::string &temp);
};

class UnusableWindowFolder : public WindowFolderTest,
                             public testing::WithParamInterface<UnusableFolder> {};

TEST_P(UnusableWindowFolder, HoldsNoWindows) {
  std::string folder = GetParam().prepare(Narrow(m_temp.Path()));
  ScopedEnvironment windows("ADDBAR_WINDOWS", folder.c_str());
  SetLastError(0);
  EXPECT_EQ(StandinCreateWindow(kTitle.c_str()), nullptr);
  EXPECT_NE(GetLastError(), 0u);
  EXPECT_EQ(FindWindowW(nullptr, kTitle.c_str()), nullptr);
  chmod(folder.c_str(), 0700);  // lets the temporary folder go
}

INSTANTIATE_TEST_SUITE_P(
    Folders, UnusableWindowFolder,
    testing::Values(UnusableFolder{"ParentMissing",
                                   [](const std::string &temp) {
                                     return temp + "/absent/windows";
                                   }},
                    UnusableFolder{"Unwritable",
                                   [](const std::string &temp) {
                                     std::string folder = temp + "/windows";
                                     mkdir(folder.c_str(), 0500);
                                     return folder;
                                   }},
                    UnusableFolder{"ReadableByItsGroup",
                                   [](const std::string &temp) {
                                     std::string folder = temp + "/windows";
                                     mkdir(folder.c_str(), 0700);
                                     chmod(folder.c_str(), 0750);
                                     return folder;
                                   }},
                    UnusableFolder{"AFile",
                                   [](const std::string &temp) {
                                     std::string folder = temp + "/windows";
                                     testing_support::WriteBytes(Wide(folder), "x");
                                     return folder;
                                   }},
                    UnusableFolder{"ALinkToAFolder",
                                   [](const std::string &temp) {
                                     std::string folder = temp + "/windows";
                                     mkdir((temp + "/elsewhere").c_str(), 0700);
                                     EXPECT_EQ(
                                         0, symlink((temp + "/elsewhere").c_str(), folder.c_str()));
                                     return folder;
                                   }}),
    [](const testing::TestParamInfo<UnusableFolder> &info) {
      return std::string(info.param.name);
    });

TEST_F(WindowFolderTest, FolderMadeUnwritableHidesItsWindows) {
  ScopedEnvironment windows("ADDBAR_WINDOWS", m_folder.c_str());
  StandinWindow *window = StandinCreateWindow(kTitle.c_str());
  ASSERT_NE(window, nullptr);
  chmod(m_folder.c_str(), 0500);
  EXPECT_EQ(FindWindowW(nullptr, kTitle.c_str()), nullptr);
  chmod(m_folder.c_str(), 0700);
  EXPECT_NE(FindWindowW(nullptr, kTitle.c_str()), nullptr);
  StandinDestroyWindow(window);
}

TEST_F(WindowFolderTest, SomeoneElsesFolderHoldsNoWindows) {
  ScopedEnvironment windows("ADDBAR_WINDOWS", m_folder.c_str());
  StandinWindow *window = StandinCreateWindow(kTitle.c_str());
  ASSERT_NE(window, nullptr);
  if (chown(m_folder.c_str(), 65534, 65534) != 0) {
    StandinDestroyWindow(window);
    GTEST_SKIP() << "only the super-user can give the folder away";
  }
  EXPECT_EQ(FindWindowW(nullptr, kTitle.c_str()), nullptr);
  EXPECT_EQ(StandinCreateWindow(kTitle.c_str()), nullptr);
  EXPECT_EQ(0, chown(m_folder.c_str(), geteuid(), getegid()));
  StandinDestroyWindow(window);
}

// Where the folder is when ADDBAR_WINDOWS doesn't say: a private place of the
// user's, never a shared folder where another user could take the name
// first. "~" stands for the test's folder, in which "run" and "home" exist
// (mode 0700); "run" is another user's in the case that says so.
struct DefaultPlace {
  const char *name;
  const char *runtime;  // XDG_RUNTIME_DIR; null: unset
  const char *cache;    // XDG_CACHE_HOME
  bool runtimeOfAnotherUser;
  const char *expected;
};

class DefaultWindowFolder : public WindowFolderTest,
                            public testing::WithParamInterface<DefaultPlace> {
 protected:
  std::string InTemp(const char *path) const {
    std::string text = path;
    return text[0] == '~' ? Narrow(m_temp.Path()) + text.substr(1) : text;
  }
};

TEST_P(DefaultWindowFolder, IsTheUsersOwn) {
  const DefaultPlace &place = GetParam();
  for (const char *folder : {"~/run", "~/home"}) ASSERT_EQ(0, mkdir(InTemp(folder).c_str(), 0700));
  if (place.runtimeOfAnotherUser && chown(InTemp("~/run").c_str(), 65534, 65534) != 0)
    GTEST_SKIP() << "only the super-user can give a folder away";
  ScopedEnvironment windows("ADDBAR_WINDOWS", nullptr);
  ScopedEnvironment runtime("XDG_RUNTIME_DIR",
                            place.runtime ? InTemp(place.runtime).c_str() : nullptr);
  ScopedEnvironment cache("XDG_CACHE_HOME", place.cache ? InTemp(place.cache).c_str() : nullptr);
  ScopedEnvironment home("HOME", InTemp("~/home").c_str());
  StandinWindow *window = StandinCreateWindow(kTitle.c_str());
  ASSERT_NE(window, nullptr);
  const std::string folder = InTemp(place.expected);
  EXPECT_EQ(ModeOf(folder), 0700u) << folder;
  EXPECT_EQ(ModeOf(folder.substr(0, folder.rfind('/'))), 0700u);
  EXPECT_EQ(CountEntries(folder), 1) << folder;
  EXPECT_NE(FindWindowW(nullptr, kTitle.c_str()), nullptr);
  StandinDestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DefaultWindowFolder,
    testing::Values(
        DefaultPlace{"RuntimeFolder", "~/run", "~/cache", false, "~/run/addbar-windows"},
        DefaultPlace{"CacheFolder", nullptr, "~/cache", false, "~/cache/addbar-windows"},
        DefaultPlace{"CacheInTheHome", nullptr, nullptr, false, "~/home/.cache/addbar-windows"},
        DefaultPlace{"RelativeFoldersAreIgnored", "run", "cache", false,
                     "~/home/.cache/addbar-windows"},
        DefaultPlace{"RuntimeFolderOfAnotherUser", "~/run", nullptr, true,
                     "~/home/.cache/addbar-windows"}),
    [](const testing::TestParamInfo<DefaultPlace> &info) { return std::string(info.param.name); });

class OwnedStandinWindow : public WindowFolderTest {
 protected:
  void SetUp() override {
    m_environment.reset(new ScopedEnvironment("ADDBAR_WINDOWS", m_folder.c_str()));
    m_window = StandinCreateWindow(kTitle.c_str());
    ASSERT_NE(m_window, nullptr);
  }
  void TearDown() override { StandinDestroyWindow(m_window); }

  std::unique_ptr<ScopedEnvironment> m_environment;
  StandinWindow *m_window = nullptr;
};

TEST_F(OwnedStandinWindow, WaitEndsAfterItsTimeWithoutMessages) {
  // FindWindowW's look at the window is no message.
  std::thread finder([] {
    for (int i = 0; i < 5; ++i) FindWindowW(nullptr, kTitle.c_str());
  });
  StandinMessage message;
  // The wait runs on the monotonic clock and never ends early, not even by a
  // fraction of a millisecond.
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(StandinWaitMessage(m_window, 300, &message), StandinWait::Timeout);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  finder.join();
}

TEST_F(OwnedStandinWindow, UnansweredMessageGetsZeroAtTheNextWait) {
  HWND found = FindWindowW(nullptr, kTitle.c_str());
  ASSERT_NE(found, nullptr);
  LRESULT answer = -1;
  std::thread sender([&] { answer = SendMessageW(found, WM_USER, 1, 2); });
  StandinMessage message;
  ASSERT_EQ(StandinWaitMessage(m_window, kSenderPatienceMs, &message), StandinWait::Message);
  EXPECT_EQ(StandinWaitMessage(m_window, 10, &message), StandinWait::Timeout);
  sender.join();
  EXPECT_EQ(answer, 0);
}

TEST_F(OwnedStandinWindow, DestroyedWhileASenderWaitsGivesZero) {
  HWND found = FindWindowW(nullptr, kTitle.c_str());
  ASSERT_NE(found, nullptr);
  LRESULT answer = -1;
  std::thread sender([&] { answer = SendMessageW(found, WM_USER, 1, 2); });
  StandinMessage message;
  ASSERT_EQ(StandinWaitMessage(m_window, kSenderPatienceMs, &message), StandinWait::Message);
  StandinDestroyWindow(m_window);
  m_window = nullptr;
  sender.join();
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(FindWindowW(nullptr, kTitle.c_str()), nullptr);
}

}  // namespace
