// Lock files: files that exist only to be held with flock. Anyone who can open
// a lock file can hold its lock, so a lock file is private to the user it
// serves, and one found in its place is used only when it is plainly that:
// never followed through a link, never changed (no chmod, no chown), since a
// planted file (a hard link to someone else's) would be bent along with it.
#pragma once

#include <fcntl.h>
#include <sys/types.h>

#include <string>

namespace standin {

struct OpenedLockFile {
  int fd = -1;         // open for reading and writing; -1 when refused
  int error = 0;       // errno when refused
  std::string reason;  // why it was refused, to be shown beside the file's name
};

// Opens the lock file `name` in the folder open as `folderFd` (AT_FDCWD: a
// path). A missing file is made with O_CREAT | O_EXCL and mode 0600 whatever
// the umask; a super-user making it for another user (`owner`) gives it to
// that user. An existing one is used only when it is a regular file with one
// link that `owner` owns.
OpenedLockFile OpenLockFile(int folderFd, const std::string &name, uid_t owner, gid_t group);

// Writes "addbar: <what> <path> can't be used: <reason>. <consequence>" to
// standard error, once per text.
void ReportRefusedLockFile(const std::string &what, const std::string &path,
                           const std::string &reason, const std::string &consequence);

}  // namespace standin
