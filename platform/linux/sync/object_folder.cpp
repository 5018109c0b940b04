#include "sync/object_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/file_name_spelling.h"
#include "common/win32_error.h"
#include "windows/window_folder.h"

namespace standin {

std::string ObjectFolderPath() {
  const std::string windows = WindowFolderPath();
  return windows.empty() ? std::string() : windows + ".objects";
}

int OpenObjectFolder(DWORD &status) {
  const std::string folder = ObjectFolderPath();
  if (!MakeSessionFolder(folder)) {
    status = errno == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno);
    return -1;
  }
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    status = errno == ELOOP ? ERROR_ACCESS_DENIED : Win32ErrorFromErrno(errno);
    return -1;
  }
  // Others may read the names (they are the objects' names), but only the
  // user may add or remove a lock file.
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid() ||
      (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    close(fd);
    status = ERROR_ACCESS_DENIED;
    return -1;
  }
  status = ERROR_SUCCESS;
  return fd;
}

namespace {

bool IsKept(WCHAR unit, size_t index) {
  if (unit == u'.') return index != 0;
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
         (unit >= u'0' && unit <= u'9') || unit == u'_' || unit == u'-';
}

// Room is left in a 255-byte file name for the suffix.
const size_t kLongestName = 200;

}  // namespace

std::string ObjectFileName(WStringView name) { return SpellAsFileName(name, IsKept, kLongestName); }

}  // namespace standin
