// The stand-in's mutexes (CreateMutexW, WaitForSingleObject, ReleaseMutex):
// objects of this process that threads own as on Windows (a thread may take
// its own mutex again; only the owner releases it; one that ends owning it
// leaves it abandoned to the next waiter), and for named mutexes an
// flock on a lock file in the session's object folder, so that processes
// meet there too. A process that dies holding a named mutex loses the flock
// with its life; the next owner is told WAIT_ABANDONED, which the lock file's
// first byte records ('1' while owned). The lock file goes when the last
// handle of a process that could take its lock closes, as the object goes
// with its last handle on Windows.
#pragma once

#include <windows.h>

namespace standin {

// CloseHandle for a mutex handle; false when `handle` is none. A mutex that is
// still owned when its last handle goes stays owned until its thread releases
// it or the process ends, as on Windows.
bool CloseMutexHandle(HANDLE handle);

}  // namespace standin
