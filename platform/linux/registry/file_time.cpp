#include "registry/file_time.h"

namespace standin {

namespace {
// Ticks between 1601-01-01 and 1970-01-01.
const uint64_t kUnixEpochTicks = 116444736000000000ULL;
}  // namespace

uint64_t FileTimeFromUnix(const timespec &when) {
  int64_t ticks = static_cast<int64_t>(when.tv_sec) * 10000000 + when.tv_nsec / 100;
  return kUnixEpochTicks + static_cast<uint64_t>(ticks);
}

uint64_t FileTimeNow() {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return FileTimeFromUnix(now);
}

FILETIME SplitFileTime(uint64_t ticks) {
  FILETIME split;
  split.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
  split.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return split;
}

}  // namespace standin
