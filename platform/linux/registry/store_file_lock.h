// The lock file beside the store ("registry.reg.lock"): every process that
// changes the store holds an exclusive flock on it from reading the store to
// writing it back. It is a lock file as common/lock_file.h makes and accepts
// them, guarding the store of the user who owns the store, and it is waited
// for with a bound (patient_lock.h).
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// Opens the lock file of the store at `storePath` and takes the lock. Returns
// the descriptor (closing it releases the lock), or -1 with `status` set and
// the reason on standard error: ERROR_ACCESS_DENIED when the lock file can't
// be made or the file in its place is no lock file of the store's user,
// ERROR_LOCK_VIOLATION when another process held the lock while the store
// stayed unchanged for the whole patience.
int TakeStoreFileLock(const std::string &storePath, DWORD &status);

}  // namespace standin
