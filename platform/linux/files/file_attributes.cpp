// GetFileAttributesW on the stand-in.
#include <windows.h>

#include <sys/stat.h>
#include <cerrno>

#include "common/host_path.h"
#include "files/file_facts.h"
#include "files/path_status.h"

DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName) {
  if (lpFileName == nullptr || *lpFileName == 0) {
    SetLastError(lpFileName == nullptr ? ERROR_INVALID_PARAMETER : ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  std::string path;
  if (!standin::ToHostPath(lpFileName, path)) {
    SetLastError(ERROR_INVALID_NAME);
    return INVALID_FILE_ATTRIBUTES;
  }
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    SetLastError(standin::PathError(path, errno));
    return INVALID_FILE_ATTRIBUTES;
  }
  return standin::AttributesOf(path, info);
}
