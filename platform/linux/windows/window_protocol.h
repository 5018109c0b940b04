// What travels over a window's socket: one request from the sender, then one
// answer from the window's owner, each a fixed-size record.
#pragma once

#include <windows.h>

#include <sys/socket.h>
#include <sys/un.h>

#include <cstdint>
#include <string>

namespace standin {

const uint32_t kRequestMagic = 0x4D574241;  // "ABWM"
const uint32_t kAnswerMagic = 0x52574241;   // "ABWR"

struct WindowRequest {
  uint32_t magic;
  uint32_t message;
  uint64_t wParam;
  int64_t lParam;
};

struct WindowAnswer {
  uint32_t magic;
  uint32_t reserved;
  int64_t result;
};

// Writes all bytes; false when the peer has gone. Never raises SIGPIPE.
bool SendAll(int fd, const void *data, size_t size);

// Reads exactly `size` bytes, waiting at most `timeoutMs` in all (-1 = no
// limit). False on end of stream, error or time-out.
bool ReceiveAll(int fd, void *data, size_t size, int timeoutMs);

// Whether the process at the other end of a connected socket runs as this
// process's user: windows talk only to their own user's processes.
bool PeerIsSameUser(int fd);

// Socket addresses hold only about 100 bytes, so files are named through
// descriptors: `name` in the folder open as `dirFd`, or the file open (as
// O_PATH) as `fileFd`. False when the name still does not fit.
bool AddressInFolder(int dirFd, const std::string &name, sockaddr_un &address, socklen_t &length);
bool AddressOfOpenFile(int fileFd, sockaddr_un &address, socklen_t &length);

}  // namespace standin
