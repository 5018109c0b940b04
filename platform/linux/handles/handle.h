// A kernel handle of the stand-in: an open file, a file search or a mutex.
// Each kind is a class of its own that knows what closing it and, where a
// thread may wait on it, waiting on it mean; the calls that take any handle
// (CloseHandle, WaitForSingleObject) only find it in the handle table
// (handle_table.h) and leave the rest to its kind.
#pragma once

#include <windows.h>

namespace standin {

class Handle {
 public:
  Handle() = default;
  Handle(const Handle &) = delete;
  Handle &operator=(const Handle &) = delete;
  virtual ~Handle() = default;

  // Whether CloseHandle closes it. A file search is no kernel object: only
  // FindClose closes it, as on Windows.
  virtual bool IsKernelObject() const { return true; }

  // What closing the handle ends (a descriptor, the handle's hold on an
  // object). Called once, after the handle was taken out of the table.
  virtual void Close() = 0;

  // WaitForSingleObject on the handle. Mutexes are the only objects the
  // stand-in waits on: any other kind fails with ERROR_INVALID_HANDLE.
  virtual DWORD Wait(DWORD milliseconds);
};

}  // namespace standin
