// Exclusive flock locks waited for with a bound. Another process may hold a
// lock for as long as it likes, and one that can merely open the lock's file
// can hold it forever: a wait gives up once nothing has changed for a while.
#pragma once

#include <functional>
#include <string>

#include "common/file_identity.h"

namespace standin {

// How long a lock is waited for while the file it guards stays the same:
// ADDBAR_LOCK_PATIENCE_MS when set (tests make it short), else 10 seconds.
int LockPatienceMs();

// Takes an exclusive flock on `fd`. Between tries `guarded` tells what the
// guarded file looks like now; each change (another process got a write
// done) starts the patience again, so a busy store is waited for while a
// stuck holder is not. False with errno ETIMEDOUT when patience ran out, or
// with flock's errno when the lock can't be had at all.
bool LockPatiently(int fd, const std::function<FileIdentity()> &guarded);

// The identity of the file at `path` now (exists = false when there is none).
FileIdentity IdentityOfPath(const std::string &path);

}  // namespace standin
