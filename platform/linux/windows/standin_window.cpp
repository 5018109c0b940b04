// The owning side of a stand-in window: a listening socket in the window
// folder, named by the title's key and a tag of its own.
#include <standin_window.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>

#include "common/deadline.h"
#include "common/unicode.h"
#include "common/win32_error.h"
#include "windows/window_folder.h"
#include "windows/window_protocol.h"

struct StandinWindow {
  int listener = -1;
  int folder = -1;
  std::string name;
  dev_t device = 0;
  ino_t inode = 0;
  int pending = -1;  // the connection whose message awaits its answer
};

namespace {

// A sender writes its request right after connecting; a connection that
// brings nothing within this time is dropped.
const int kRequestPatienceMs = 2000;

std::string NewTag() {
  unsigned char random[8] = {};
  if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (size_t i = 0; i < sizeof random; ++i)
      random[i] ^= static_cast<unsigned char>(now >> (8 * i));
  }
  std::string tag = std::to_string(static_cast<long>(getpid())) + "-";
  for (unsigned char byte : random) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", byte);
    tag += hex;
  }
  return tag;
}

void CloseQuietly(int &fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

StandinWindow *StandinCreateWindow(LPCWSTR title) {
  const std::string folderPath = standin::WindowFolderPath();
  DWORD status = standin::PrepareWindowFolder(folderPath);
  if (status != ERROR_SUCCESS) {
    SetLastError(status);
    return nullptr;
  }
  StandinWindow *window = new StandinWindow();
  window->folder = open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  window->listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const std::string tag = NewTag();
  const std::string temporary = "." + tag;
  window->name =
      standin::WindowTitleKey(standin::ViewOf(title)) + standin::kWindowTagSeparator + tag;

  sockaddr_un address;
  socklen_t length;
  struct stat info;
  // The socket is listening before it gets its name, so a finder never
  // mistakes a window being born for one that died.
  bool made = window->folder >= 0 && window->listener >= 0 &&
              standin::AddressInFolder(window->folder, temporary, address, length) &&
              bind(window->listener, reinterpret_cast<sockaddr *>(&address), length) == 0;
  int error = errno;
  if (made) {
    // The socket is the user's alone, whatever the umask made of it.
    made = fchmodat(window->folder, temporary.c_str(), 0600, 0) == 0 &&
           listen(window->listener, 64) == 0 &&
           renameat(window->folder, temporary.c_str(), window->folder, window->name.c_str()) == 0 &&
           fstatat(window->folder, window->name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    error = errno;
    if (!made) unlinkat(window->folder, temporary.c_str(), 0);
  }
  if (!made) {
    CloseQuietly(window->listener);
    CloseQuietly(window->folder);
    delete window;
    SetLastError(standin::Win32ErrorFromErrno(error));
    return nullptr;
  }
  window->device = info.st_dev;
  window->inode = info.st_ino;
  return window;
}

StandinWait StandinWaitMessage(StandinWindow *window, DWORD timeoutMs, StandinMessage *message) {
  if (window == nullptr || message == nullptr) return StandinWait::Failed;
  if (window->pending >= 0) StandinReplyMessage(window, 0);
  const bool forever = timeoutMs == kStandinWaitForever;
  const auto deadline =
      standin::MonotonicClock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
  for (;;) {
    int wait = forever ? -1 : standin::MillisecondsLeft(deadline);
    struct pollfd ready = {window->listener, POLLIN, 0};
    int polled = poll(&ready, 1, wait);
    if (polled < 0) {
      if (errno == EINTR) continue;
      return StandinWait::Failed;
    }
    if (polled == 0) {
      // poll may wake a little before the deadline: the time is up only when
      // the clock says so.
      if (standin::MonotonicClock::now() >= deadline) return StandinWait::Timeout;
      continue;
    }
    int connection = accept4(window->listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == ECONNABORTED) continue;
      return StandinWait::Failed;
    }
    // Only the user's own processes may send the window messages.
    if (!standin::PeerIsSameUser(connection)) {
      close(connection);
      continue;
    }
    standin::WindowRequest request;
    // FindWindowW's probes connect and leave without a word.
    if (!standin::ReceiveAll(connection, &request, sizeof request, kRequestPatienceMs) ||
        request.magic != standin::kRequestMagic) {
      close(connection);
      continue;
    }
    window->pending = connection;
    message->message = request.message;
    message->wParam = static_cast<WPARAM>(request.wParam);
    message->lParam = static_cast<LPARAM>(request.lParam);
    return StandinWait::Message;
  }
}

void StandinReplyMessage(StandinWindow *window, LRESULT result) {
  if (window == nullptr || window->pending < 0) return;
  standin::WindowAnswer answer = {standin::kAnswerMagic, 0, static_cast<int64_t>(result)};
  standin::SendAll(window->pending, &answer, sizeof answer);
  CloseQuietly(window->pending);
}

void StandinDestroyWindow(StandinWindow *window) {
  if (window == nullptr) return;
  struct stat info;
  // Only our own socket goes, whatever took its name meanwhile.
  if (fstatat(window->folder, window->name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
      info.st_dev == window->device && info.st_ino == window->inode) {
    unlinkat(window->folder, window->name.c_str(), 0);
  }
  CloseQuietly(window->pending);
  CloseQuietly(window->listener);
  CloseQuietly(window->folder);
  delete window;
}
