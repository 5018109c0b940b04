#include "common/lock_file.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/store_report.h"

namespace standin {

namespace {

const int kOpenFlags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

std::string UserName(uid_t user) {
  const passwd *entry = getpwuid(user);
  std::string number = std::to_string(static_cast<unsigned long>(user));
  return entry != nullptr && entry->pw_name != nullptr ? entry->pw_name + (" (" + number + ")")
                                                       : number;
}

OpenedLockFile Refused(int error, const std::string &reason) {
  OpenedLockFile refused;
  refused.error = error;
  refused.reason = reason;
  return refused;
}

// Why an existing file is no lock file of `owner`'s, one reason for each part
// of IsPlainFileOf (host_file.h); empty when it is one.
std::string Unfit(const struct stat &info, uid_t owner) {
  if (S_ISLNK(info.st_mode)) return ReasonOf(ELOOP);
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  if (info.st_nlink != 1)
    return "it has " + std::to_string(static_cast<unsigned long>(info.st_nlink)) +
           " links, so it is also another file";
  if (info.st_uid != owner)
    return "it belongs to " + UserName(info.st_uid) + ", not to " + UserName(owner);
  return std::string();
}

}  // namespace

namespace {

// One try: made, opened, refused, or gone or replaced between the look at it
// and its opening (`vanished`), when another process removed it meanwhile.
OpenedLockFile TryOpenLockFile(int folderFd, const std::string &name, uid_t owner, gid_t group,
                               bool &vanished) {
  vanished = false;
  OpenedLockFile opened;
  int fd = openat(folderFd, name.c_str(), kOpenFlags | O_CREAT | O_EXCL, 0600);
  if (fd >= 0) {
    // The umask may have taken the owner's bits; a super-user serving another
    // user leaves that user a file of their own.
    bool given =
        fchmod(fd, 0600) == 0 && (geteuid() != 0 || owner == 0 || fchown(fd, owner, group) == 0);
    if (!given) {
      int error = errno;
      unlinkat(folderFd, name.c_str(), 0);
      close(fd);
      return Refused(error, "it could not be made private: " + ReasonOf(error));
    }
    opened.fd = fd;
    return opened;
  }
  if (errno != EEXIST) return Refused(errno, ReasonOf(errno));

  // Looked at before it is opened: opening a device or a FIFO may itself do
  // something.
  struct stat found;
  if (fstatat(folderFd, name.c_str(), &found, AT_SYMLINK_NOFOLLOW) != 0) {
    vanished = errno == ENOENT;
    return Refused(errno, ReasonOf(errno));
  }
  if (found.st_nlink == 0) {  // removed while it was looked at
    vanished = true;
    return Refused(ENOENT, ReasonOf(ENOENT));
  }
  std::string unfit = Unfit(found, owner);
  if (!unfit.empty()) return Refused(S_ISLNK(found.st_mode) ? ELOOP : EACCES, unfit);
  fd = openat(folderFd, name.c_str(), kOpenFlags);
  if (fd < 0) {
    vanished = errno == ENOENT;
    return Refused(errno, ReasonOf(errno));
  }
  struct stat info;
  if (fstat(fd, &info) != 0) {
    int error = errno;
    close(fd);
    return Refused(error, ReasonOf(error));
  }
  // What was opened must be what was looked at, still named; another
  // process may have removed it (and made a new one) meanwhile, which is
  // looked at anew.
  if (info.st_dev != found.st_dev || info.st_ino != found.st_ino || info.st_nlink == 0) {
    close(fd);
    vanished = true;
    return Refused(ENOENT, "it was replaced while it was opened");
  }
  unfit = Unfit(info, owner);
  if (!unfit.empty()) {
    close(fd);
    return Refused(EACCES, unfit);
  }
  opened.fd = fd;
  return opened;
}

// Tries while another process keeps removing the file between a try's
// making and opening: each removal is that process's progress.
const int kMostTries = 100;

}  // namespace

OpenedLockFile OpenLockFile(int folderFd, const std::string &name, uid_t owner, gid_t group) {
  OpenedLockFile opened;
  bool vanished = true;
  for (int tries = 0; vanished && tries < kMostTries; ++tries)
    opened = TryOpenLockFile(folderFd, name, owner, group, vanished);
  return opened;
}

void ReportRefusedLockFile(const std::string &what, const std::string &path,
                           const std::string &reason, const std::string &consequence) {
  ReportStoreProblem(what + " " + path + " can't be used: " + reason + ". " + consequence);
}

}  // namespace standin
