#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "common/patient_lock.h"
#include "common/replace_temporaries.h"

namespace standin {

DWORD Win32ErrorFromErrno(int error) {
  switch (error) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOSPC:
    case EDQUOT:
      return ERROR_WRITE_FAULT;
    default:
      return ERROR_INVALID_FUNCTION;
  }
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

static std::string DirectoryOf(const std::string &path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string ResolveLinkTarget(const std::string &path) {
  std::string current = path;
  // A bounded walk: a loop of links ends with the last name seen.
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info;
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    char target[PATH_MAX];
    ssize_t length = readlink(current.c_str(), target, sizeof target - 1);
    if (length < 0) return current;
    target[length] = '\0';
    if (target[0] == '/') {
      current = target;
    } else {
      current = DirectoryOf(current) + "/" + target;
    }
  }
  return current;
}

// Writes the pieces in order, many to a system call (a store can come in
// thousands of pieces).
static bool WriteAll(int fd, const std::vector<ByteSpan> &pieces) {
#ifdef IOV_MAX
  const size_t kBatch = IOV_MAX < 1024 ? IOV_MAX : 1024;
#else
  const size_t kBatch = 16;  // the least POSIX allows
#endif
  size_t next = 0;  // the first piece not wholly written
  size_t done = 0;  // bytes of it written
  for (;;) {
    while (next < pieces.size() && done == pieces[next].size) {
      ++next;
      done = 0;
    }
    if (next == pieces.size()) return true;
    iovec batch[1024];
    size_t count = 0;
    for (size_t i = next; i < pieces.size() && count < kBatch; ++i) {
      const size_t skip = i == next ? done : 0;
      batch[count].iov_base = const_cast<char *>(pieces[i].data + skip);
      batch[count].iov_len = pieces[i].size - skip;
      ++count;
    }
    ssize_t written = writev(fd, batch, static_cast<int>(count));
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = EIO;  // a file that takes nothing would never be done
      return false;
    }
    for (size_t left = static_cast<size_t>(written); left > 0;) {
      const size_t rest = pieces[next].size - done;
      if (left < rest) {
        done += left;
        break;
      }
      left -= rest;
      ++next;
      done = 0;
    }
  }
}

namespace {

std::string NameOf(const std::string &path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The lock every writer of a file in the folder holds while it replaces one:
// flock on the folder itself, so that nothing is added to it. Not held when
// the folder can't be opened for reading; leftovers are then not swept.
class FolderLock {
 public:
  FolderLock(const std::string &folder, const std::string &target) {
    m_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) return;
    m_held = LockPatiently(m_fd, [&] { return IdentityOfPath(target); });
    m_timedOut = !m_held && errno == ETIMEDOUT;
  }
  ~FolderLock() {
    if (m_fd >= 0) close(m_fd);  // releases the lock
  }
  FolderLock(const FolderLock &) = delete;
  FolderLock &operator=(const FolderLock &) = delete;

  int Fd() const { return m_fd; }
  bool Held() const { return m_held; }
  bool TimedOut() const { return m_timedOut; }

 private:
  int m_fd = -1;
  bool m_held = false;
  bool m_timedOut = false;
};

// Gives the new file the old one's owner and group (root writing a user's
// file must leave it the user's), then its mode, which fchown may have cut.
bool TakeOverOwnership(int fd, const struct stat &old, mode_t mode) {
  struct stat made;
  if (fstat(fd, &made) != 0) return false;
  if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
      fchown(fd, old.st_uid, old.st_gid) != 0)
    return false;
  return fchmod(fd, mode) == 0;
}

}  // namespace

// Whether the file at `target` is still the one just renamed there: the same
// inode with the size and modification time it had when it was flushed. The
// rename itself changes only its change time.
static bool StillAsWritten(const std::string &target, const struct stat &flushed,
                           FileIdentity &identity) {
  struct stat now;
  if (stat(target.c_str(), &now) != 0) return false;
  if (now.st_dev != flushed.st_dev || now.st_ino != flushed.st_ino ||
      now.st_size != flushed.st_size || now.st_mtim.tv_sec != flushed.st_mtim.tv_sec ||
      now.st_mtim.tv_nsec != flushed.st_mtim.tv_nsec)
    return false;
  identity = FileIdentity::Of(now);
  return true;
}

DWORD ReplaceFileContents(const std::string &path, const std::string &bytes) {
  return ReplaceFileContents(path, {ByteSpan{bytes.data(), bytes.size()}});
}

DWORD ReplaceFileContents(const std::string &path, const std::vector<ByteSpan> &pieces,
                          FileIdentity *written) {
  if (written != nullptr) *written = FileIdentity();
  const std::string target = ResolveLinkTarget(path);
  const std::string folder = DirectoryOf(target);
  const std::string name = NameOf(target);

  FolderLock lock(folder, target);
  if (lock.TimedOut()) return ERROR_LOCK_VIOLATION;

  mode_t mode;
  struct stat existing;
  const bool exists = stat(target.c_str(), &existing) == 0;
  if (exists) {
    if (!S_ISREG(existing.st_mode)) return ERROR_ACCESS_DENIED;
    // A file the user may not write stays as it is, even though its folder
    // would let us replace it.
    if (!PermissionBitsAllowWriting(target)) return ERROR_ACCESS_DENIED;
    mode = existing.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  if (lock.Held()) SweepTemporaries(lock.Fd(), name);

  std::string temporary = folder + "/" + TemporaryPrefix(name) + "XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0) return Win32ErrorFromErrno(errno);
  // A file whose owner can't be kept is not replaced: it stays as it was.
  bool owned = exists ? TakeOverOwnership(fd, existing, mode) : fchmod(fd, mode) == 0;
  struct stat flushed = {};
  bool ok = owned && WriteAll(fd, pieces) && fsync(fd) == 0 && fstat(fd, &flushed) == 0;
  int error = owned ? errno : EACCES;
  if (close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    unlink(temporary.c_str());
    return Win32ErrorFromErrno(error);
  }
  // The rename itself reaches the disk with the folder's entry.
  if (lock.Fd() >= 0) fsync(lock.Fd());
  FileIdentity identity;
  if (written != nullptr && StillAsWritten(target, flushed, identity)) *written = identity;
  return ERROR_SUCCESS;
}

}  // namespace standin
