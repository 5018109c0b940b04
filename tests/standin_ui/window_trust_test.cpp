// Windows talk only to their own user: the folder and the sockets are
// private, and both ends check who is at the other (SO_PEERCRED), so a
// socket another user planted or listens on is no window, and another
// user's message never reaches one.
#include <standin_window.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <thread>

#include "support/linux/folder_entries.h"
#include "support/linux/other_user.h"
#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::ScopedEnvironment;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

const WString kTitle = Wide("vantrove_CommPort");
const uint32_t kRequestMagic = 0x4D574241;  // what a sender writes first

struct Request {
  uint32_t magic, message;
  uint64_t wParam;
  int64_t lParam;
};

sockaddr_un AddressOf(const std::string &path) {
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  return address;
}

// The one name in `folder`; empty when it holds none or more.
std::string OnlyEntry(const std::string &folder) {
  std::set<std::string> names = testing_support::FolderEntries(folder);
  return names.size() == 1 ? *names.begin() : std::string();
}

class WindowTrust : public testing::Test {
 protected:
  WindowTrust()
      : m_folder(Narrow(m_temp.File("windows"))), m_windows("ADDBAR_WINDOWS", m_folder.c_str()) {}

  // The window folder, in a folder another user may pass through.
  void MakeFolder() {
    ASSERT_EQ(0, chmod(Narrow(m_temp.Path()).c_str(), 0755));
    ASSERT_EQ(0, mkdir(m_folder.c_str(), 0700));
  }

  TempDir m_temp;
  std::string m_folder;
  ScopedEnvironment m_windows;
};

TEST_F(WindowTrust, AFolderOthersMayWriteHoldsNoWindows) {
  MakeFolder();
  StandinWindow *window = StandinCreateWindow(kTitle.c_str());
  ASSERT_NE(nullptr, window);
  ASSERT_EQ(0, chmod(m_folder.c_str(), 0777));
  EXPECT_EQ(nullptr, FindWindowW(nullptr, kTitle.c_str()));
  EXPECT_EQ(nullptr, StandinCreateWindow(kTitle.c_str()));
  ASSERT_EQ(0, chmod(m_folder.c_str(), 0700));
  EXPECT_NE(nullptr, FindWindowW(nullptr, kTitle.c_str()));
  StandinDestroyWindow(window);
}

TEST_F(WindowTrust, TheSocketIsPrivateWhateverTheUmask) {
  mode_t old = umask(0);
  StandinWindow *window = StandinCreateWindow(kTitle.c_str());
  umask(old);
  ASSERT_NE(nullptr, window);
  struct stat info;
  ASSERT_EQ(0, lstat((m_folder + "/" + OnlyEntry(m_folder)).c_str(), &info));
  EXPECT_TRUE(S_ISSOCK(info.st_mode));
  EXPECT_EQ(0600u, info.st_mode & 07777);
  StandinDestroyWindow(window);
}

// A socket with a window's name that is not the user's: its file belongs to
// another user, or another user listens on it. Neither is found.
struct Planted {
  const char *label;
  bool fileOfOther;
  bool listenerOfOther;
};

class PlantedSockets : public WindowTrust, public testing::WithParamInterface<Planted> {};

TEST_P(PlantedSockets, AreNoWindows) {
  if (!testing_support::CanActAsOtherUser())
    GTEST_SKIP() << "needs another user: only the super-user can act as one";
  MakeFolder();
  // The name a window of this title would have.
  StandinWindow *model = StandinCreateWindow(kTitle.c_str());
  ASSERT_NE(nullptr, model);
  std::string name = OnlyEntry(m_folder);
  StandinDestroyWindow(model);
  name = name.substr(0, name.find('@')) + "@planted";
  const std::string path = m_folder + "/" + name;

  int ready[2], done[2];
  ASSERT_EQ(0, pipe(ready));
  ASSERT_EQ(0, pipe(done));
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(done[1]);  // so that the parent's close ends the wait below
    int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = AddressOf(path);
    if (bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) _exit(1);
    chmod(path.c_str(), 0600);
    if (GetParam().fileOfOther &&
        lchown(path.c_str(), testing_support::kOtherUser, testing_support::kOtherUser) != 0)
      _exit(1);
    // The peer's credentials are those of whoever called listen().
    if (GetParam().listenerOfOther &&
        (setgid(testing_support::kOtherUser) != 0 || setuid(testing_support::kOtherUser) != 0))
      _exit(2);
    if (listen(listener, 8) != 0) _exit(3);
    char byte = 1;
    if (write(ready[1], &byte, 1) != 1) _exit(4);
    // Keeps listening until told to stop.
    if (read(done[0], &byte, 1) < 0) _exit(5);
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(1, read(ready[0], &byte, 1));
  EXPECT_EQ(nullptr, FindWindowW(nullptr, kTitle.c_str()));
  EXPECT_TRUE(std::filesystem::exists(path)) << "a live socket of someone else's is left alone";
  close(done[1]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  close(ready[0]);
  close(ready[1]);
  close(done[0]);
}

INSTANTIATE_TEST_SUITE_P(Table, PlantedSockets,
                         testing::Values(Planted{"FileOfAnotherUser", true, false},
                                         Planted{"ListenerOfAnotherUser", false, true}),
                         [](const testing::TestParamInfo<Planted> &info) {
                           return std::string(info.param.label);
                         });

// Another user who reaches the socket anyway (the folder and socket opened
// up for the test) gets the connection closed; the window's first message
// is the one its own user sent afterwards.
TEST_F(WindowTrust, AnotherUsersMessageNeverArrives) {
  if (!testing_support::CanActAsOtherUser())
    GTEST_SKIP() << "needs another user: only the super-user can act as one";
  MakeFolder();
  StandinWindow *window = StandinCreateWindow(kTitle.c_str());
  ASSERT_NE(nullptr, window);
  HWND found = FindWindowW(nullptr, kTitle.c_str());
  ASSERT_NE(nullptr, found);
  const std::string socketPath = m_folder + "/" + OnlyEntry(m_folder);
  ASSERT_EQ(0, chmod(m_folder.c_str(), 0711));
  ASSERT_EQ(0, chmod(socketPath.c_str(), 0666));

  int sent[2];
  ASSERT_EQ(0, pipe(sent));
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(testing_support::kOtherUser) != 0 || setuid(testing_support::kOtherUser) != 0)
      _exit(2);
    int channel = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = AddressOf(socketPath);
    if (connect(channel, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) _exit(3);
    Request request = {kRequestMagic, WM_COMMAND, 0xE102, 0};
    if (write(channel, &request, sizeof request) != sizeof request) _exit(4);
    char byte = 1;
    if (write(sent[1], &byte, 1) != 1) _exit(5);
    char answer[16];
    // Closed without an answer: no bytes (end of stream, or a reset).
    _exit(read(channel, answer, sizeof answer) <= 0 ? 0 : 6);
  }
  char byte = 0;
  ASSERT_EQ(1, read(sent[0], &byte, 1));
  ASSERT_EQ(0, chmod(socketPath.c_str(), 0600));
  ASSERT_EQ(0, chmod(m_folder.c_str(), 0700));

  std::thread own([&] { SendMessageW(found, WM_USER, 7, 8); });
  int received = 0;
  StandinMessage message = {};
  while (message.message != WM_USER) {
    ASSERT_EQ(StandinWait::Message, StandinWaitMessage(window, kStandinWaitForever, &message));
    StandinReplyMessage(window, 0);
    ++received;
  }
  EXPECT_EQ(1, received) << "another user's message arrived first";
  own.join();
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  close(sent[0]);
  close(sent[1]);
  StandinDestroyWindow(window);
}

}  // namespace
