#include "registry/store_file_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/folders.h"
#include "common/lock_file.h"
#include "common/patient_lock.h"
#include "common/store_report.h"
#include "common/win32_error.h"

namespace standin {

namespace {

const char kWhat[] = "the registry store's lock file";
const char kConsequence[] = "Registry changes fail until it is removed.";

// The user whose store it is: the store file's owner; while there is no
// store yet, the running user, or for the super-user the owner of the folder
// (root working on a user's store leaves the user a lock file of their own).
void StoreUser(const std::string &storePath, uid_t &user, gid_t &group) {
  struct stat info;
  if (stat(storePath.c_str(), &info) == 0 ||
      (geteuid() == 0 && stat(FolderOf(storePath).c_str(), &info) == 0)) {
    user = info.st_uid;
    group = info.st_gid;
    return;
  }
  user = geteuid();
  group = getegid();
}

int GiveUp(const std::string &lockPath, DWORD &status) {
  ReportStoreProblem("the registry store's lock file " + lockPath +
                     " is held by another process, and the store did not change for " +
                     std::to_string(LockPatienceMs()) + " ms. The registry change is given up.");
  status = ERROR_LOCK_VIOLATION;
  return -1;
}

}  // namespace

int TakeStoreFileLock(const std::string &storePath, DWORD &status) {
  const std::string lockPath = storePath + ".lock";
  uid_t user;
  gid_t group;
  StoreUser(storePath, user, group);
  OpenedLockFile lock = OpenLockFile(AT_FDCWD, lockPath, user, group);
  if (lock.fd < 0) {
    ReportRefusedLockFile(kWhat, lockPath, lock.reason, kConsequence);
    bool refused = lock.error == ELOOP || lock.error == EACCES || lock.error == EPERM;
    status = refused ? ERROR_ACCESS_DENIED : Win32ErrorFromErrno(lock.error);
    return -1;
  }
  if (!LockPatiently(lock.fd, lockPath, [&] { return IdentityOfPath(storePath); })) {
    int error = errno;
    close(lock.fd);
    if (error == ETIMEDOUT) return GiveUp(lockPath, status);
    ReportRefusedLockFile(kWhat, lockPath, ReasonOf(error), kConsequence);
    status = Win32ErrorFromErrno(error);
    return -1;
  }
  status = ERROR_SUCCESS;
  return lock.fd;
}

}  // namespace standin
