// Reading, writing, times and closing through the stand-in's file handles.
#include <windows.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "common/atomic_file.h"
#include "files/file_facts.h"
#include "files/handle_table.h"
#include "sync/mutex_objects.h"

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                     LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = 0;
  standin::HandleEntry entry;
  if (!standin::FindHandle(hFile, standin::HandleKind::File, entry)) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  if (lpOverlapped != nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if ((entry.access & GENERIC_READ) == 0) return Fail(ERROR_ACCESS_DENIED);
  char *into = static_cast<char *>(lpBuffer);
  DWORD done = 0;
  // Like a disk file on Windows: the read returns what there is, up to the end.
  while (done < nNumberOfBytesToRead) {
    ssize_t got = read(entry.fd, into + done, nNumberOfBytesToRead - done);
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
  standin::HandleEntry entry;
  if (!standin::FindHandle(hFile, standin::HandleKind::File, entry)) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  if (lpOverlapped != nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if ((entry.access & GENERIC_WRITE) == 0) return Fail(ERROR_ACCESS_DENIED);
  const char *from = static_cast<const char *>(lpBuffer);
  DWORD done = 0;
  while (done < nNumberOfBytesToWrite) {
    ssize_t put = write(entry.fd, from + done, nNumberOfBytesToWrite - done);
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
  standin::HandleEntry entry;
  if (!standin::FindHandle(hFile, standin::HandleKind::File, entry)) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  struct stat info;
  if (fstat(entry.fd, &info) != 0) return Fail(standin::Win32ErrorFromErrno(errno));
  standin::FileTimes times = standin::FileTimesOfOpenFile(entry.fd, info);
  if (lpCreationTime != nullptr) *lpCreationTime = times.created;
  if (lpLastAccessTime != nullptr) *lpLastAccessTime = times.accessed;
  if (lpLastWriteTime != nullptr) *lpLastWriteTime = times.written;
  return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
  standin::HandleEntry entry;
  if (standin::RemoveHandle(hObject, standin::HandleKind::File, entry)) {
    close(entry.fd);
    return TRUE;
  }
  if (standin::CloseMutexHandle(hObject)) return TRUE;
  return Fail(ERROR_INVALID_HANDLE);
}
