#include "common/patient_lock.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>

namespace standin {

int LockPatienceMs() {
  const char *chosen = std::getenv("ADDBAR_LOCK_PATIENCE_MS");
  if (chosen != nullptr && *chosen != '\0') {
    char *end = nullptr;
    long value = std::strtol(chosen, &end, 10);
    if (*end == '\0' && value >= 0 && value <= 3600000) return static_cast<int>(value);
  }
  return 10000;
}

FileIdentity IdentityOfPath(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return FileIdentity();
  return FileIdentity::Of(info);
}

bool LockPatiently(int fd, const std::function<FileIdentity()> &guarded) {
  using Clock = std::chrono::steady_clock;
  const auto patience = std::chrono::milliseconds(LockPatienceMs());
  Clock::time_point deadline = Clock::now() + patience;
  FileIdentity seen = guarded();
  long pauseNs = 1000000;
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return false;
    FileIdentity now = guarded();
    if (!(now == seen)) {
      seen = now;
      deadline = Clock::now() + patience;
    }
    if (Clock::now() >= deadline) {
      errno = ETIMEDOUT;
      return false;
    }
    // Holders keep a lock for milliseconds: short pauses at first, then
    // longer ones so that a long wait costs little.
    struct timespec pause = {0, pauseNs};
    nanosleep(&pause, nullptr);
    if (pauseNs < 50000000) pauseNs *= 2;
  }
}

}  // namespace standin
