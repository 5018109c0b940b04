#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "common/folders.h"
#include "common/host_file.h"
#include "common/replace_temporaries.h"
#include "common/win32_error.h"

namespace standin {

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
      current = FolderOf(current) + "/" + target;
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

// The folder a file is replaced in, open for the whole replacement so that
// every name is made, swept and renamed in the same folder. Opened for
// reading where it may be (to sweep it and flush its entries); else only as
// a place (O_PATH), which still lets the file be replaced.
class OpenFolder {
 public:
  explicit OpenFolder(const std::string &folder) {
    m_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    m_readable = m_fd >= 0;
    if (m_fd < 0) m_fd = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  }
  ~OpenFolder() {
    if (m_fd >= 0) close(m_fd);
  }
  OpenFolder(const OpenFolder &) = delete;
  OpenFolder &operator=(const OpenFolder &) = delete;

  int Fd() const { return m_fd; }
  bool Readable() const { return m_readable; }

 private:
  int m_fd = -1;
  bool m_readable = false;
};

// Gives the new file the old one's owner and group: root writing a user's
// file must leave it the user's. Done before the bytes are written, so that a
// file whose owner can't be kept costs nothing.
bool TakeOverOwner(int fd, const struct stat &old) {
  struct stat made;
  if (fstat(fd, &made) != 0) return false;
  return (made.st_uid == old.st_uid && made.st_gid == old.st_gid) ||
         fchown(fd, old.st_uid, old.st_gid) == 0;
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
  const std::string name = NameOf(target);
  OpenFolder folder(FolderOf(target));
  if (folder.Fd() < 0) return Win32ErrorFromErrno(errno);

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
  if (folder.Readable()) SweepTemporaries(folder.Fd(), name);

  std::string temporary;
  int fd = MakeTemporary(folder.Fd(), name, temporary);
  if (fd < 0) return Win32ErrorFromErrno(errno);
  // A file whose owner can't be kept is not replaced: it stays as it was.
  // The temporary file keeps mode 0600 until its bytes are written.
  bool owned = !exists || TakeOverOwner(fd, existing);
  struct stat flushed = {};
  bool ok = owned && WriteAll(fd, pieces) && fchmod(fd, mode) == 0 && fsync(fd) == 0 &&
            fstat(fd, &flushed) == 0;
  int error = owned ? errno : EACCES;
  if (ok && renameat(folder.Fd(), temporary.c_str(), folder.Fd(), name.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) unlinkat(folder.Fd(), temporary.c_str(), 0);
  // Closed only now: its lock kept sweeps off the temporary file until the
  // rename. Its bytes reached the disk with fsync, so closing can lose nothing.
  close(fd);
  if (!ok) return Win32ErrorFromErrno(error);
  // The rename itself reaches the disk with the folder's entry.
  if (folder.Readable()) fsync(folder.Fd());
  FileIdentity identity;
  if (written != nullptr && StillAsWritten(target, flushed, identity)) *written = identity;
  return ERROR_SUCCESS;
}

}  // namespace standin
