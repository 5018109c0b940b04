#include "windows/window_protocol.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "common/deadline.h"

namespace standin {

bool SendAll(int fd, const void *data, size_t size) {
  const char *bytes = static_cast<const char *>(data);
  size_t done = 0;
  while (done < size) {
    ssize_t sent = send(fd, bytes + done, size - done, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(sent);
  }
  return true;
}

bool ReceiveAll(int fd, void *data, size_t size, int timeoutMs) {
  const auto deadline =
      MonotonicClock::now() + std::chrono::milliseconds(timeoutMs >= 0 ? timeoutMs : 0);
  char *bytes = static_cast<char *>(data);
  size_t done = 0;
  while (done < size) {
    int wait = -1;
    if (timeoutMs >= 0) {
      if (MonotonicClock::now() >= deadline) return false;
      wait = MillisecondsLeft(deadline);
    }
    struct pollfd ready = {fd, POLLIN, 0};
    int polled = poll(&ready, 1, wait);
    if (polled < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (polled == 0) continue;  // the deadline is checked above
    ssize_t got = recv(fd, bytes + done, size - done, 0);
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    if (got == 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

bool PeerIsSameUser(int fd) {
  struct ucred peer = {};
  socklen_t size = sizeof peer;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer &&
         peer.uid == geteuid();
}

static bool FillAddress(const std::string &path, sockaddr_un &address, socklen_t &length) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
  return true;
}

bool AddressInFolder(int dirFd, const std::string &name, sockaddr_un &address, socklen_t &length) {
  return FillAddress("/proc/self/fd/" + std::to_string(dirFd) + "/" + name, address, length);
}

bool AddressOfOpenFile(int fileFd, sockaddr_un &address, socklen_t &length) {
  return FillAddress("/proc/self/fd/" + std::to_string(fileFd), address, length);
}

}  // namespace standin
