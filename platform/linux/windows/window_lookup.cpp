// FindWindowW and SendMessageW over the stand-in's window sockets.
#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

#include "common/unicode.h"
#include "windows/window_folder.h"
#include "windows/window_protocol.h"

namespace {

enum class Liveness { Live, Stale, Absent };

// A window's socket is a socket file of the user's own, private to them.
bool IsOwnSocket(const struct stat &info) {
  return S_ISSOCK(info.st_mode) && info.st_uid == geteuid() &&
         (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// Whether a window's socket still has its owner listening. A refused
// connection means the owner died without removing the socket: such a socket
// never comes back to life, since tags are never reused.
Liveness ProbeWindow(int dirFd, const std::string &name) {
  int file = openat(dirFd, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
  if (file < 0) return Liveness::Absent;
  struct stat info;
  Liveness result = Liveness::Absent;
  sockaddr_un address;
  socklen_t length;
  if (fstat(file, &info) == 0 && IsOwnSocket(info) &&
      standin::AddressOfOpenFile(file, address, length)) {
    int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (probe >= 0) {
      if (connect(probe, reinterpret_cast<sockaddr *>(&address), length) == 0) {
        // Someone else listening on our user's socket is no window of ours.
        if (standin::PeerIsSameUser(probe)) result = Liveness::Live;
      } else if (errno == EAGAIN || errno == EINPROGRESS) {
        result = Liveness::Live;  // the owner's queue is full: it is there, just busy
      } else if (errno == ECONNREFUSED) {
        result = Liveness::Stale;
      }
      close(probe);
    }
  }
  close(file);
  return result;
}

// Window handles are this process's own: each names one socket file, and
// the same window found twice gets the same handle.
class WindowHandles {
 public:
  HWND HandleFor(const std::string &folder, const std::string &name) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string path = folder + "/" + name;
    for (size_t i = 0; i < m_paths.size(); ++i) {
      if (m_paths[i] == path) return FromIndex(i);
    }
    m_paths.push_back(path);
    return FromIndex(m_paths.size() - 1);
  }

  bool PathOf(HWND window, std::string &path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    uintptr_t value = reinterpret_cast<uintptr_t>(window);
    if (value < kFirst || (value - kFirst) % kStep != 0) return false;
    size_t index = (value - kFirst) / kStep;
    if (index >= m_paths.size()) return false;
    path = m_paths[index];
    return true;
  }

 private:
  // Even, non-zero values, as real window handles are.
  static const uintptr_t kFirst = 0x10020;
  static const uintptr_t kStep = 4;
  static HWND FromIndex(size_t index) { return reinterpret_cast<HWND>(kFirst + index * kStep); }

  std::mutex m_mutex;
  std::vector<std::string> m_paths;
};

WindowHandles &Handles() {
  static WindowHandles *handles = new WindowHandles();
  return *handles;
}

bool MatchesKey(const std::string &name, const std::string *key) {
  size_t separator = name.rfind(standin::kWindowTagSeparator);
  if (separator == std::string::npos || name[0] == '.') return false;
  return key == nullptr || (separator == key->size() && name.compare(0, separator, *key) == 0);
}

}  // namespace

HWND WINAPI FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
  // Stand-in windows belong to no class, so a search by class finds none.
  if (lpClassName != nullptr) return nullptr;
  const std::string folder = standin::WindowFolderPath();
  if (!standin::IsUsableWindowFolder(folder)) return nullptr;
  int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return nullptr;
  DIR *listing = fdopendir(dup(dirFd));
  if (listing == nullptr) {
    close(dirFd);
    return nullptr;
  }
  std::string key;
  if (lpWindowName != nullptr) key = standin::WindowTitleKey(standin::ViewOf(lpWindowName));

  // Of several windows with the title, the newest stands for the one on top.
  std::string found;
  struct timespec foundTime = {0, 0};
  while (struct dirent *entry = readdir(listing)) {
    std::string name = entry->d_name;
    if (!MatchesKey(name, lpWindowName != nullptr ? &key : nullptr)) continue;
    Liveness liveness = ProbeWindow(dirFd, name);
    if (liveness == Liveness::Stale) {
      unlinkat(dirFd, name.c_str(), 0);
      continue;
    }
    if (liveness != Liveness::Live) continue;
    struct stat info;
    if (fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    bool newer =
        found.empty() || info.st_ctim.tv_sec > foundTime.tv_sec ||
        (info.st_ctim.tv_sec == foundTime.tv_sec && info.st_ctim.tv_nsec > foundTime.tv_nsec);
    if (newer) {
      found = name;
      foundTime = info.st_ctim;
    }
  }
  closedir(listing);
  close(dirFd);
  if (found.empty()) return nullptr;
  return Handles().HandleFor(folder, found);
}

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  std::string path;
  if (!Handles().PathOf(hWnd, path)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  int file = open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
  struct stat info;
  sockaddr_un address;
  socklen_t length;
  int channel = -1;
  if (file >= 0 && fstat(file, &info) == 0 && IsOwnSocket(info) &&
      standin::AddressOfOpenFile(file, address, length)) {
    channel = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (channel >= 0 && (connect(channel, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
                         !standin::PeerIsSameUser(channel))) {
      close(channel);
      channel = -1;
    }
  }
  if (file >= 0) close(file);
  if (channel < 0) {
    // The window has been destroyed.
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  standin::WindowRequest request = {standin::kRequestMagic, Msg, static_cast<uint64_t>(wParam),
                                    static_cast<int64_t>(lParam)};
  standin::WindowAnswer answer = {0, 0, 0};
  // As on Windows, the sender waits as long as the window takes to answer.
  bool answered = standin::SendAll(channel, &request, sizeof request) &&
                  standin::ReceiveAll(channel, &answer, sizeof answer, -1) &&
                  answer.magic == standin::kAnswerMagic;
  close(channel);
  // A window destroyed before it answered gives 0.
  return answered ? static_cast<LRESULT>(answer.result) : 0;
}
