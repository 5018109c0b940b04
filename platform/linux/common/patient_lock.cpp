#include "common/patient_lock.h"

#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "common/environment.h"
#include "common/store_report.h"

namespace standin {

namespace {

// The locks whose last wait gave up, with how their guarded file looked then.
struct GivenUp {
  std::mutex lock;
  std::map<std::string, FileIdentity> byName;
};

// A store's holder keeps its lock for one read and write of the store, up
// to a second or so: a waiter need not look more often than this.
const std::chrono::milliseconds kLongestLockPause(64);

GivenUp &GivenUpLocks() {
  static GivenUp *givenUp = new GivenUp();
  return *givenUp;
}

}  // namespace

int LockPatienceMs() {
  const char *chosen = VariableValue(StandinVariable::LockPatienceMs);
  if (chosen == nullptr || *chosen == '\0') return kDefaultLockPatienceMs;
  char *end = nullptr;
  errno = 0;
  long value = std::strtol(chosen, &end, 10);
  bool whole = *end == '\0' && errno == 0 && chosen[0] >= '0' && chosen[0] <= '9';
  if (whole && value >= kLeastLockPatienceMs && value <= kMostLockPatienceMs)
    return static_cast<int>(value);
  ReportStoreProblem(std::string(VariableName(StandinVariable::LockPatienceMs)) + "=" + chosen +
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

bool WaitForFileLock(int fd, std::chrono::milliseconds longestPause,
                     const std::function<MonotonicClock::time_point()> &deadline) {
  std::chrono::milliseconds pause(1);
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return false;
    const MonotonicClock::time_point until = deadline();
    const MonotonicClock::time_point now = MonotonicClock::now();
    if (now >= until) {
      errno = ETIMEDOUT;
      return false;
    }
    std::this_thread::sleep_for(std::min<MonotonicClock::duration>(pause, until - now));
    pause = std::min(pause * 2, longestPause);
  }
}

bool LockPatiently(int fd, const std::string &lockName,
                   const std::function<FileIdentity()> &guarded) {
  const auto patience = std::chrono::milliseconds(LockPatienceMs());
  MonotonicClock::time_point deadline = MonotonicClock::now() + patience;
  FileIdentity seen = guarded();
  GivenUp &givenUp = GivenUpLocks();
  {
    std::lock_guard<std::mutex> hold(givenUp.lock);
    auto found = givenUp.byName.find(lockName);
    if (found != givenUp.byName.end() && found->second == seen) deadline = MonotonicClock::now();
  }
  // Each change of the guarded file (another process got a write done)
  // starts the patience again.
  const bool taken = WaitForFileLock(fd, kLongestLockPause, [&] {
    FileIdentity now = guarded();
    if (!(now == seen)) {
      seen = now;
      deadline = MonotonicClock::now() + patience;
    }
    return deadline;
  });
  const int error = errno;
  {
    std::lock_guard<std::mutex> hold(givenUp.lock);
    if (taken) {
      givenUp.byName.erase(lockName);
    } else if (error == ETIMEDOUT) {
      givenUp.byName[lockName] = seen;
    }
  }
  errno = error;
  return taken;
}

}  // namespace standin
