#include "common/patient_lock.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "common/store_report.h"

namespace standin {

namespace {

// The locks whose last wait gave up, with how their guarded file looked then.
struct GivenUp {
  std::mutex lock;
  std::map<std::string, FileIdentity> byName;
};

GivenUp &GivenUpLocks() {
  static GivenUp *givenUp = new GivenUp();
  return *givenUp;
}

}  // namespace

int LockPatienceMs() {
  const char *chosen = std::getenv("ADDBAR_LOCK_PATIENCE_MS");
  if (chosen == nullptr || *chosen == '\0') return kDefaultLockPatienceMs;
  char *end = nullptr;
  errno = 0;
  long value = std::strtol(chosen, &end, 10);
  bool whole = *end == '\0' && errno == 0 && chosen[0] >= '0' && chosen[0] <= '9';
  if (whole && value >= kLeastLockPatienceMs && value <= kMostLockPatienceMs)
    return static_cast<int>(value);
  ReportStoreProblem(std::string("ADDBAR_LOCK_PATIENCE_MS=") + chosen +
                     " is not used: it takes whole milliseconds from " +
                     std::to_string(kLeastLockPatienceMs) + " to " +
                     std::to_string(kMostLockPatienceMs) + ". Locks are waited for " +
                     std::to_string(kDefaultLockPatienceMs) + " ms.");
  return kDefaultLockPatienceMs;
}

FileIdentity IdentityOfPath(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return FileIdentity();
  return FileIdentity::Of(info);
}

bool LockPatiently(int fd, const std::string &lockName,
                   const std::function<FileIdentity()> &guarded) {
  using Clock = std::chrono::steady_clock;
  const auto patience = std::chrono::milliseconds(LockPatienceMs());
  Clock::time_point deadline = Clock::now() + patience;
  FileIdentity seen = guarded();
  GivenUp &givenUp = GivenUpLocks();
  {
    std::lock_guard<std::mutex> hold(givenUp.lock);
    auto found = givenUp.byName.find(lockName);
    if (found != givenUp.byName.end() && found->second == seen) deadline = Clock::now();
  }
  long pauseNs = 1000000;
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      std::lock_guard<std::mutex> hold(givenUp.lock);
      givenUp.byName.erase(lockName);
      return true;
    }
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return false;
    FileIdentity now = guarded();
    if (!(now == seen)) {
      seen = now;
      deadline = Clock::now() + patience;
    }
    if (Clock::now() >= deadline) {
      std::lock_guard<std::mutex> hold(givenUp.lock);
      givenUp.byName[lockName] = seen;
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
