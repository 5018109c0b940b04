#include "files/file_facts.h"

#include <fcntl.h>

#include "common/host_file.h"

namespace standin {

namespace {
// Seconds from 1601-01-01 to 1970-01-01.
const uint64_t kUnixEpochSeconds = 11644473600ull;
}  // namespace

DWORD AttributesOf(const std::string &hostPath, const struct stat &info) {
  DWORD attributes = 0;
  if (S_ISDIR(info.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (!PermissionBitsAllowWriting(hostPath)) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

FILETIME FileTimeOf(const struct timespec &time) {
  int64_t seconds = static_cast<int64_t>(time.tv_sec) + static_cast<int64_t>(kUnixEpochSeconds);
  uint64_t ticks = seconds < 0 ? 0
                               : static_cast<uint64_t>(seconds) * 10000000ull +
                                     static_cast<uint64_t>(time.tv_nsec) / 100u;
  FILETIME result;
  result.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
  result.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return result;
}

namespace {

// `info` gives access and write times; statx adds the birth time where the
// file system has one. dirfd, path and flags are those of statx.
FileTimes TimesOf(int dirfd, const char *path, int flags, const struct stat &info) {
  FileTimes times;
  times.created = FileTimeOf(info.st_ctim);
  times.accessed = FileTimeOf(info.st_atim);
  times.written = FileTimeOf(info.st_mtim);
  struct statx extended;
  if (statx(dirfd, path, flags, STATX_BTIME, &extended) == 0 &&
      (extended.stx_mask & STATX_BTIME) != 0) {
    struct timespec birth = {static_cast<time_t>(extended.stx_btime.tv_sec),
                             static_cast<long>(extended.stx_btime.tv_nsec)};
    times.created = FileTimeOf(birth);
  }
  return times;
}

}  // namespace

FileTimes FileTimesOfOpenFile(int fd, const struct stat &info) {
  return TimesOf(fd, "", AT_EMPTY_PATH, info);
}

FileTimes FileTimesOfPath(const std::string &hostPath, const struct stat &info) {
  return TimesOf(AT_FDCWD, hostPath.c_str(), 0, info);
}

}  // namespace standin
