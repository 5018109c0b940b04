#include "common/host_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace standin {

namespace {

bool IsWanted(const struct stat &info, bool folderToo) {
  return S_ISREG(info.st_mode) || (folderToo && S_ISDIR(info.st_mode));
}

OpenedFile Refused(int error, bool otherKind) {
  OpenedFile refused;
  refused.error = error;
  refused.otherKind = otherKind;
  return refused;
}

}  // namespace

OpenedFile OpenRegularFile(const std::string &path, int flags, mode_t mode) {
  const bool folderToo = (flags & O_DIRECTORY) != 0;
  struct stat seen;
  if (stat(path.c_str(), &seen) == 0) {
    if (!IsWanted(seen, folderToo)) return Refused(EACCES, true);
  } else if (errno != ENOENT || (flags & O_CREAT) == 0) {
    return Refused(errno, false);
  }
  OpenedFile opened;
  opened.fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
  if (opened.fd < 0) return Refused(errno, false);
  int error = 0;
  bool otherKind = false;
  if (fstat(opened.fd, &opened.info) != 0) {
    error = errno;
  } else if (!IsWanted(opened.info, folderToo)) {
    error = EACCES;
    otherKind = true;
  } else if ((flags & O_PATH) == 0 &&
             fcntl(opened.fd, F_SETFL, fcntl(opened.fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    error = errno;
  }
  if (error == 0) return opened;
  close(opened.fd);
  return Refused(error, otherKind);
}

bool IsPlainFileOf(const struct stat &info, uid_t owner) {
  return S_ISREG(info.st_mode) && info.st_nlink == 1 && info.st_uid == owner;
}

bool PermissionBitsAllowWriting(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  uid_t user = geteuid();
  if (info.st_uid == user) return (info.st_mode & S_IWUSR) != 0;
  if (info.st_gid == getegid()) return (info.st_mode & S_IWGRP) != 0;
  gid_t groups[256];
  int count = getgroups(256, groups);
  for (int i = 0; i < count; ++i) {
    if (groups[i] == info.st_gid) return (info.st_mode & S_IWGRP) != 0;
  }
  if (user == 0) return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  return (info.st_mode & S_IWOTH) != 0;
}

}  // namespace standin
