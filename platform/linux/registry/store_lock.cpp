#include "registry/store_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/atomic_file.h"
#include "common/patient_lock.h"
#include "common/store_report.h"

namespace standin {

namespace {

const int kLockFlags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

std::string FolderOf(const std::string &path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

int Refuse(const std::string &lockPath, const std::string &reason, DWORD &status, DWORD code) {
  ReportStoreProblem("the registry store's lock file " + lockPath + " can't be used: " + reason +
                     ". Registry changes fail until it is mended or removed.");
  status = code;
  return -1;
}

int GiveUp(const std::string &lockPath, DWORD &status) {
  ReportStoreProblem("the registry store's lock file " + lockPath +
                     " is held by another process, and the store did not change for " +
                     std::to_string(LockPatienceMs()) + " ms. The registry change is given up.");
  status = ERROR_LOCK_VIOLATION;
  return -1;
}

}  // namespace

int TakeStoreLock(const std::string &storePath, DWORD &status) {
  const std::string lockPath = storePath + ".lock";
  int fd = open(lockPath.c_str(), kLockFlags | O_CREAT | O_EXCL, 0600);
  const bool created = fd >= 0;
  if (!created && errno == EEXIST) fd = open(lockPath.c_str(), kLockFlags);
  if (fd < 0) {
    int error = errno;
    return Refuse(lockPath, ReasonOf(error), status,
                  error == ELOOP ? ERROR_ACCESS_DENIED : Win32ErrorFromErrno(error));
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return Refuse(lockPath, "it is not a regular file", status, ERROR_ACCESS_DENIED);
  }
  if (created) {
    fchmod(fd, 0600);  // whatever the umask
    // The super-user working on a user's store leaves a lock file the user
    // can still open.
    struct stat folder;
    if (geteuid() == 0 && stat(FolderOf(lockPath).c_str(), &folder) == 0)
      (void)!fchown(fd, folder.st_uid, folder.st_gid);
  } else if (info.st_uid == geteuid() && (info.st_mode & 077) != 0) {
    fchmod(fd, 0600);  // made readable to others by an older version
  }
  if (!LockPatiently(fd, [&] { return IdentityOfPath(storePath); })) {
    int error = errno;
    close(fd);
    if (error == ETIMEDOUT) return GiveUp(lockPath, status);
    return Refuse(lockPath, ReasonOf(error), status, Win32ErrorFromErrno(error));
  }
  status = ERROR_SUCCESS;
  return fd;
}

}  // namespace standin
