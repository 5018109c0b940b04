// CreateFileW on the stand-in: the five dispositions, read and write access,
// and share modes among the process's own handles; folders with backup
// semantics, to be looked at.
#include <windows.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "common/host_file.h"
#include "common/host_path.h"
#include "files/file_handle.h"
#include "files/last_file_asked.h"
#include "files/path_status.h"
#include "handles/handle_table.h"

namespace {

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

int OpenFlags(DWORD access) {
  bool read = (access & GENERIC_READ) != 0, write = (access & GENERIC_WRITE) != 0;
  if (read && write) return O_RDWR;
  if (write) return O_WRONLY;
  if (read) return O_RDONLY;
  return O_PATH;  // attributes and times only
}

}  // namespace

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                          HANDLE /*hTemplateFile*/) {
  if (lpFileName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if (*lpFileName == 0) return Fail(ERROR_PATH_NOT_FOUND);
  const DWORD disposition = dwCreationDisposition;
  if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  const bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
  if (disposition == TRUNCATE_EXISTING && (dwDesiredAccess & GENERIC_WRITE) == 0) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  std::string path;
  if (!standin::ToHostPath(lpFileName, path)) return Fail(ERROR_INVALID_NAME);
  standin::NoteFileAskedFor(path);
  int flags = OpenFlags(dwDesiredAccess);

  struct stat info;
  bool exists = stat(path.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) return Fail(standin::PathError(path, errno));
  const bool folder = exists && S_ISDIR(info.st_mode);
  if (exists) {
    if (disposition == CREATE_NEW) return Fail(ERROR_FILE_EXISTS);
    // A folder opens only with backup semantics, and here only to be looked
    // at (its final path): not to be written or emptied.
    if (folder && ((dwFlagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS) == 0 ||
                   (dwDesiredAccess & GENERIC_WRITE) != 0 || truncates))
      return Fail(ERROR_ACCESS_DENIED);
    if (folder) flags |= O_DIRECTORY;
    // Read-only files refuse writing even to the super-user, as on Windows.
    bool writes = (dwDesiredAccess & GENERIC_WRITE) != 0 || truncates;
    if (writes && !standin::PermissionBitsAllowWriting(path)) return Fail(ERROR_ACCESS_DENIED);
    DWORD access = dwDesiredAccess | (truncates ? GENERIC_WRITE : 0);
    if (!standin::SharingAllows(info.st_dev, info.st_ino, access, dwShareMode)) {
      return Fail(ERROR_SHARING_VIOLATION);
    }
    if (truncates) flags = (flags & ~O_PATH) | O_TRUNC | ((flags & O_PATH) ? O_WRONLY : 0);
  } else {
    if (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING) {
      return Fail(standin::MissingPathError(path));
    }
    if ((flags & O_PATH) != 0) flags = (flags & ~O_PATH) | O_RDONLY;
    flags |= O_CREAT | O_EXCL;
  }
  mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
  // Only plain files (and folders, as above) are files here: opening a FIFO
  // would wait for a writer, and a device is no file a caller could mean.
  standin::OpenedFile file = standin::OpenRegularFile(path, flags, mode);
  if (file.fd < 0) {
    return Fail(file.otherKind ? ERROR_ACCESS_DENIED : standin::PathError(path, file.error));
  }
  HANDLE handle = standin::AddHandle(std::make_shared<standin::FileHandle>(
      file.fd, dwDesiredAccess & (GENERIC_READ | GENERIC_WRITE),
      dwShareMode & (FILE_SHARE_READ | FILE_SHARE_WRITE), file.info.st_dev, file.info.st_ino));
  bool replacedOrFound = exists && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
  SetLastError(replacedOrFound ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}
