#include "files/path_status.h"

#include <sys/stat.h>
#include <cerrno>

#include "common/folders.h"
#include "common/win32_error.h"

namespace standin {

DWORD MissingPathError(const std::string &hostPath) {
  struct stat info;
  if (stat(FolderOf(hostPath).c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    return ERROR_FILE_NOT_FOUND;
  }
  return ERROR_PATH_NOT_FOUND;
}

DWORD PathError(const std::string &hostPath, int error) {
  if (error == ENOENT) return MissingPathError(hostPath);
  if (error == ENOTDIR) return ERROR_PATH_NOT_FOUND;
  return Win32ErrorFromErrno(error);
}

}  // namespace standin
