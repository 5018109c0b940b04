// Reading, writing and times through the stand-in's file handles.
#include <windows.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "common/win32_error.h"
#include "files/file_facts.h"
#include "files/file_handle.h"
#include "handles/handle_table.h"

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                     LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = 0;
  std::shared_ptr<standin::FileHandle> file = standin::FindHandleOf<standin::FileHandle>(hFile);
  if (file == nullptr) return Fail(ERROR_INVALID_HANDLE);
  if (lpOverlapped != nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if ((file->Access() & GENERIC_READ) == 0) return Fail(ERROR_ACCESS_DENIED);
  char *into = static_cast<char *>(lpBuffer);
  DWORD done = 0;
  // Like a disk file on Windows: the read returns what there is, up to the end.
  while (done < nNumberOfBytesToRead) {
    ssize_t got = read(file->Fd(), into + done, nNumberOfBytesToRead - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Fail(standin::Win32ErrorFromErrno(errno));
    }
    if (got == 0) break;
    done += static_cast<DWORD>(got);
  }
  if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = done;
  return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = 0;
  std::shared_ptr<standin::FileHandle> file = standin::FindHandleOf<standin::FileHandle>(hFile);
  if (file == nullptr) return Fail(ERROR_INVALID_HANDLE);
  if (lpOverlapped != nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if ((file->Access() & GENERIC_WRITE) == 0) return Fail(ERROR_ACCESS_DENIED);
  const char *from = static_cast<const char *>(lpBuffer);
  DWORD done = 0;
  while (done < nNumberOfBytesToWrite) {
    ssize_t put = write(file->Fd(), from + done, nNumberOfBytesToWrite - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = done;
      return Fail(standin::Win32ErrorFromErrno(errno));
    }
    done += static_cast<DWORD>(put);
  }
  if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = done;
  return TRUE;
}

BOOL WINAPI GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                        LPFILETIME lpLastWriteTime) {
  std::shared_ptr<standin::FileHandle> file = standin::FindHandleOf<standin::FileHandle>(hFile);
  if (file == nullptr) return Fail(ERROR_INVALID_HANDLE);
  struct stat info;
  if (fstat(file->Fd(), &info) != 0) return Fail(standin::Win32ErrorFromErrno(errno));
  standin::FileTimes times = standin::FileTimesOfOpenFile(file->Fd(), info);
  if (lpCreationTime != nullptr) *lpCreationTime = times.created;
  if (lpLastAccessTime != nullptr) *lpLastAccessTime = times.accessed;
  if (lpLastWriteTime != nullptr) *lpLastWriteTime = times.written;
  return TRUE;
}
