#include "profile/profile_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <utility>

#include "common/atomic_file.h"
#include "common/file_identity.h"
#include "common/host_file.h"
#include "common/whole_file.h"
#include "common/win32_error.h"
#include "files/file_handle.h"
#include "files/path_status.h"

namespace standin {
namespace profile {

namespace {

// The last file read or written. One entry: the program works on one file.
struct CachedProfile {
  std::mutex lock;
  bool valid = false;
  FileIdentity identity;
  std::shared_ptr<ProfileDocument> document;
};

CachedProfile &Cache() {
  // Never destroyed: freeing a large document as the process ends is time
  // spent on nothing.
  static CachedProfile &cache = *new CachedProfile;
  return cache;
}

// Reads and parses the file at `hostPath`.
DWORD ReadProfile(const std::string &hostPath, std::shared_ptr<ProfileDocument> &document,
                  FileIdentity &identity) {
  // A FIFO put in the file's place since CheckReadable is turned away like
  // one the check found.
  OpenedFile file = OpenRegularFile(hostPath, O_RDONLY);
  if (file.fd < 0) return file.otherKind ? ERROR_ACCESS_DENIED : PathError(hostPath, file.error);
  // The identity of what is read, taken before reading: a change while
  // reading gives the file another identity, so it is read again next time.
  const struct stat &opened = file.info;
  std::string bytes;
  int error = 0;
  if (static_cast<uint64_t>(opened.st_size) >= kMostProfileUnits) {
    error = ENOMEM;  // a file of 4 GiB or more is more than a document holds
  } else if (!ReadWholeFile(file.fd, bytes, static_cast<size_t>(opened.st_size))) {
    error = errno;
  } else if (bytes.size() >= kMostProfileUnits) {
    error = ENOMEM;  // grew while it was read
  }
  close(file.fd);
  if (error != 0) return Win32ErrorFromErrno(error);
  document = std::make_shared<ProfileDocument>(std::move(bytes));
  identity = FileIdentity::Of(opened);
  return ERROR_SUCCESS;
}

// Checks what LoadProfile checks before it reads: a plain file that no handle
// of this process keeps from readers.
DWORD CheckReadable(const std::string &hostPath, struct stat &info) {
  if (stat(hostPath.c_str(), &info) != 0) return PathError(hostPath, errno);
  if (!S_ISREG(info.st_mode)) return ERROR_ACCESS_DENIED;
  // The profile calls read with both kinds of sharing allowed, as Windows'
  // do: only a handle that refuses readers keeps them out.
  if (!SharingAllows(info.st_dev, info.st_ino, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
    return ERROR_SHARING_VIOLATION;
  }
  return ERROR_SUCCESS;
}

}  // namespace

LoadedProfile LoadProfile(const std::string &hostPath) {
  LoadedProfile loaded;
  struct stat info;
  loaded.status = CheckReadable(hostPath, info);
  if (loaded.status != ERROR_SUCCESS) return loaded;
  CachedProfile &cache = Cache();
  std::lock_guard<std::mutex> hold(cache.lock);
  if (cache.valid && cache.identity == FileIdentity::Of(info)) {
    loaded.document = cache.document;
    return loaded;
  }
  std::shared_ptr<ProfileDocument> document;
  FileIdentity identity;
  loaded.status = ReadProfile(hostPath, document, identity);
  if (loaded.status != ERROR_SUCCESS) return loaded;
  cache.valid = true;
  cache.identity = identity;
  cache.document = document;
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

DWORD EditProfile(const std::string &hostPath, size_t mostAddedUnits,
                  const std::function<bool(ProfileDocument &)> &edit) {
  CachedProfile &cache = Cache();
  std::lock_guard<std::mutex> hold(cache.lock);
  struct stat info;
  DWORD status = CheckReadable(hostPath, info);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return status;
  const bool exists = status == ERROR_SUCCESS;

  std::shared_ptr<ProfileDocument> document;
  if (!exists) {
    document = std::make_shared<ProfileDocument>();
  } else if (cache.valid && cache.identity == FileIdentity::Of(info)) {
    // Edited where it is kept, unless a reader elsewhere still holds it.
    document = cache.document;
    if (document.use_count() > 2) document = std::make_shared<ProfileDocument>(*document);
  } else {
    FileIdentity identity;
    status = ReadProfile(hostPath, document, identity);
    if (status != ERROR_SUCCESS) return status;
    cache.valid = true;
    cache.identity = identity;
    cache.document = document;
  }

  if (document->UnitCount() + mostAddedUnits >= kMostProfileUnits) return ERROR_NOT_ENOUGH_MEMORY;
  if (!edit(*document) && exists) return ERROR_SUCCESS;
  // From here until the file is written the document may differ from it.
  cache.valid = false;
  cache.document.reset();
  std::string scratch;
  FileIdentity written;
  status = ReplaceFileContents(hostPath, document->FileBytes(scratch), &written);
  // Kept only when the file on disk is known to be the one just written.
  if (status == ERROR_SUCCESS && written.exists) {
    cache.valid = true;
    cache.identity = written;
    cache.document = std::move(document);
  }
  return status;
}

}  // namespace profile
}  // namespace standin
