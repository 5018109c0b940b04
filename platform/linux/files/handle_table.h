// The stand-in's kernel handles: open files and file searches.
#pragma once

#include <windows.h>

namespace standin {

enum class HandleKind { File, Search };

struct HandleEntry {
  HandleKind kind = HandleKind::File;
  int fd = -1;       // File: the open descriptor
  DWORD access = 0;  // File: GENERIC_READ and/or GENERIC_WRITE
};

// A new handle for `entry`; values are never null nor INVALID_HANDLE_VALUE
// and are not reused, so a closed handle stays invalid.
HANDLE AddHandle(const HandleEntry &entry);

// The entry of an open handle of `kind`; false when there is none.
bool FindHandle(HANDLE handle, HandleKind kind, HandleEntry &entry);

// Takes the handle out of the table; false when it is not an open handle of
// `kind`.
bool RemoveHandle(HANDLE handle, HandleKind kind, HandleEntry &entry);

}  // namespace standin
