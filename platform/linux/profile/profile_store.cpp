#include "profile/profile_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <mutex>

#include "common/atomic_file.h"
#include "common/file_identity.h"
#include "common/whole_file.h"
#include "files/handle_table.h"
#include "files/path_status.h"

namespace standin {
namespace profile {

namespace {

// The last file read or written. One entry: the program works on one file.
struct CachedProfile {
  std::mutex lock;
  bool valid = false;
  FileIdentity identity;
  std::shared_ptr<const ProfileDocument> document;
};

CachedProfile &Cache() {
  static CachedProfile cache;
  return cache;
}

void Remember(const FileIdentity &identity, std::shared_ptr<const ProfileDocument> document) {
  CachedProfile &cache = Cache();
  std::lock_guard<std::mutex> hold(cache.lock);
  cache.valid = true;
  cache.identity = identity;
  cache.document = std::move(document);
}

}  // namespace

LoadedProfile LoadProfile(const std::string &hostPath) {
  LoadedProfile loaded;
  struct stat info;
  if (stat(hostPath.c_str(), &info) != 0) {
    loaded.status = PathError(hostPath, errno);
    return loaded;
  }
  if (!S_ISREG(info.st_mode)) {
    loaded.status = ERROR_ACCESS_DENIED;
    return loaded;
  }
  // The profile calls read with both kinds of sharing allowed, as Windows'
  // do: only a handle that refuses readers keeps them out.
  if (!SharingAllows(info.st_dev, info.st_ino, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
    loaded.status = ERROR_SHARING_VIOLATION;
    return loaded;
  }
  {
    CachedProfile &cache = Cache();
    std::lock_guard<std::mutex> hold(cache.lock);
    if (cache.valid && cache.identity == FileIdentity::Of(info)) {
      loaded.document = cache.document;
      return loaded;
    }
  }
  int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    loaded.status = PathError(hostPath, errno);
    return loaded;
  }
  // The identity of what is read, taken before reading: a change while
  // reading gives the file another identity, so it is read again next time.
  struct stat opened;
  std::string bytes;
  bool ok = fstat(fd, &opened) == 0 && ReadWholeFile(fd, bytes);
  int error = errno;
  close(fd);
  if (!ok) {
    loaded.status = Win32ErrorFromErrno(error);
    return loaded;
  }
  auto document = std::make_shared<const ProfileDocument>(bytes);
  Remember(FileIdentity::Of(opened), document);
  loaded.document = std::move(document);
  return loaded;
}

DWORD CheckWritable(const std::string &hostPath) {
  struct stat info;
  if (stat(hostPath.c_str(), &info) != 0) {
    DWORD status = PathError(hostPath, errno);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
  }
  if (!S_ISREG(info.st_mode)) return ERROR_ACCESS_DENIED;
  if (!PermissionBitsAllowWriting(hostPath)) return ERROR_ACCESS_DENIED;
  const DWORD both = GENERIC_READ | GENERIC_WRITE;
  if (!SharingAllows(info.st_dev, info.st_ino, both, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
    return ERROR_SHARING_VIOLATION;
  }
  return ERROR_SUCCESS;
}

DWORD SaveProfile(const std::string &hostPath, const ProfileDocument &document) {
  // The written file is read afresh by the next call: its identity taken
  // after the rename could already be that of another process's change.
  {
    CachedProfile &cache = Cache();
    std::lock_guard<std::mutex> hold(cache.lock);
    cache.valid = false;
    cache.document.reset();
  }
  return ReplaceFileContents(hostPath, document.Bytes());
}

}  // namespace profile
}  // namespace standin
