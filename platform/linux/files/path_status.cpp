#include "files/path_status.h"

#include <sys/stat.h>
#include <cerrno>

#include "common/atomic_file.h"

namespace standin {

std::string FolderOf(const std::string &hostPath) {
  size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return hostPath.substr(0, slash);
}

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
