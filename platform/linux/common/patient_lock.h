// Exclusive flock locks waited for with a bound. Another process may hold a
// lock for as long as it likes: a wait gives up once nothing has changed for
// a while.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "common/deadline.h"
#include "common/file_identity.h"

namespace standin {

// The patience of a lock wait when ADDBAR_LOCK_PATIENCE_MS does not set it.
const int kDefaultLockPatienceMs = 10000;
// What ADDBAR_LOCK_PATIENCE_MS may set: a holder keeps a lock for one read
// and write of its store, which takes a large store on a slow disk about a
// second, so less gives up on holders that are at work.
const int kLeastLockPatienceMs = 1000;
const int kMostLockPatienceMs = 3600000;

// Takes an exclusive flock on `fd`, trying again after a pause while another
// process holds it, since flock itself can't wait for a bounded time: holders
// keep a lock for milliseconds, so the pauses are short at first (1 ms) and
// double up to `longestPause`, so that a long wait costs little. `deadline`
// is asked after each try that failed, so a caller may move it on; a pause
// ends at the deadline. True once taken; false with errno ETIMEDOUT when the
// deadline has passed, or with flock's errno when the lock can't be had.
bool WaitForFileLock(int fd, std::chrono::milliseconds longestPause,
                     const std::function<MonotonicClock::time_point()> &deadline);

// How long a lock is waited for while the file it guards stays the same:
// ADDBAR_LOCK_PATIENCE_MS when it is a whole number of milliseconds from
// kLeastLockPatienceMs to kMostLockPatienceMs, else kDefaultLockPatienceMs
// (another value is named on standard error, once).
int LockPatienceMs();

// Takes an exclusive flock on `fd`, the lock file `lockName`. Between tries
// `guarded` tells what the guarded file looks like now; each change (another
// process got a write done) starts the patience again, so a busy store is
// waited for while a stuck holder is not. Once a wait on `lockName` has given
// up, the next one gives up at once while the guarded file still looks the
// same: the holder has made no progress since, and a run of many changes
// waits for it once, not once a change. False with errno ETIMEDOUT when
// patience ran out, or with flock's errno when the lock can't be had at all.
bool LockPatiently(int fd, const std::string &lockName,
                   const std::function<FileIdentity()> &guarded);

// The identity of the file at `path` now (exists = false when there is none).
FileIdentity IdentityOfPath(const std::string &path);

}  // namespace standin
