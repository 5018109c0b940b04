// The lock file beside the store ("registry.reg.lock"): every process that
// changes the store holds an exclusive flock on it from reading the store to
// writing it back. The file is private (0600), never reached through a
// symbolic link, and waited for with a bound (patient_lock.h), since anyone
// who can open it can hold it.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// Opens the lock file of the store at `storePath` and takes the lock. Returns
// the descriptor (closing it releases the lock), or -1 with `status` set and
// the reason on standard error: ERROR_ACCESS_DENIED when the lock file can't
// be opened or is no regular file, ERROR_LOCK_VIOLATION when another process
// held the lock while the store stayed unchanged for the whole patience.
int TakeStoreLock(const std::string &storePath, DWORD &status);

}  // namespace standin
