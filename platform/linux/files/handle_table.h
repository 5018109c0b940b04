// The stand-in's kernel handles: open files, file searches and mutexes.
#pragma once

#include <windows.h>

#include <sys/types.h>

namespace standin {

enum class HandleKind { File, Search, Mutex };

struct HandleEntry {
  HandleKind kind = HandleKind::File;
  int fd = -1;       // File: the open descriptor
  DWORD access = 0;  // File: GENERIC_READ and/or GENERIC_WRITE
  DWORD share = 0;   // File: FILE_SHARE_READ and/or FILE_SHARE_WRITE
  dev_t device = 0;  // File: which file is open
  ino_t inode = 0;
  unsigned long long object = 0;  // Mutex: which mutex object (sync/mutex_objects)
};

// A new handle for `entry`; values are never null nor INVALID_HANDLE_VALUE
// and are not reused, so a closed handle stays invalid.
HANDLE AddHandle(const HandleEntry &entry);

// The entry of an open handle of `kind`; false when there is none.
bool FindHandle(HANDLE handle, HandleKind kind, HandleEntry &entry);

// Takes the handle out of the table; false when it is not an open handle of
// `kind`.
bool RemoveHandle(HANDLE handle, HandleKind kind, HandleEntry &entry);

// Whether the file (device, inode) may be opened with `access` and `share`
// while this process's open handles hold it: each side must share what the
// other one uses, as on Windows; an open without read or write access always
// may. Handles of other processes are not seen.
bool SharingAllows(dev_t device, ino_t inode, DWORD access, DWORD share);

}  // namespace standin
