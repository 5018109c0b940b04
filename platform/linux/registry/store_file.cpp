#include "registry/store_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "common/atomic_file.h"
#include "common/file_identity.h"
#include "common/folders.h"
#include "common/host_file.h"
#include "common/store_report.h"
#include "common/whole_file.h"
#include "common/win32_error.h"
#include "registry/file_time.h"
#include "registry/store_file_lock.h"
#include "registry/store_grammar.h"
#include "registry/store_location.h"

namespace standin {

namespace {

// The last store read, kept between calls.
struct CachedStore {
  std::string named;  // the path as StoreFilePath gave it
  std::string path;   // the file it named then
  FileIdentity identity;
  bool valid = false;   // the entry describes the file at `path`
  bool parsed = false;  // false: the file did not parse
  std::unique_ptr<RegistryTree> tree;
};

std::mutex g_storeLock;
// Never destroyed: freeing a large tree as the process ends is time spent on
// nothing.
CachedStore &g_cache = *new CachedStore;

void ReportBadStore(const std::string &path, const StoreParseError &error) {
  ReportStoreProblem("the registry store " + path + " can't be read: line " +
                     std::to_string(error.line) + ": " + error.reason +
                     ". The file is left as it is; every registry call on it fails until it is "
                     "mended or removed.");
}

void ReportUnreadableStore(const std::string &path, const std::string &reason) {
  ReportStoreProblem("the registry store " + path + " can't be read: " + reason +
                     ". Every registry call fails until that is mended.");
}

void ReportUnwritableStore(const std::string &path, const std::string &reason) {
  ReportStoreProblem("the registry store " + path + " can't be written: " + reason +
                     ". It is left as it was.");
}

// Whether the store kept is still the file `named` names: one stat, with
// links followed, of the identity it was read or written with. A reader that
// finds it so needs nothing else, which keeps the many calls of a run cheap.
bool CachedStoreIsCurrent(const std::string &named) {
  if (!g_cache.valid || g_cache.named != named) return false;
  FileIdentity identity;  // a missing store
  struct stat info;
  if (stat(named.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return false;
    identity = FileIdentity::Of(info);
  } else if (errno != ENOENT) {
    return false;
  }
  return identity == g_cache.identity;
}

}  // namespace

StoreSession::StoreSession(Mode mode) : m_hold(g_storeLock), m_mode(mode) {
  const std::string named = StoreFilePath();
  if (m_mode == Mode::Read && CachedStoreIsCurrent(named)) {
    m_status = g_cache.parsed ? ERROR_SUCCESS : ERROR_BADDB;
    return;
  }
  m_path = ResolveLinkTarget(named);
  if (m_mode == Mode::Change) {
    if (!MakeParentFolders(m_path)) {
      int error = errno;
      ReportUnwritableStore(m_path, "its folder can't be made: " + ReasonOf(error));
      m_status = Win32ErrorFromErrno(error);
      return;
    }
    m_lockFd = TakeStoreFileLock(m_path, m_status);
    if (m_lockFd < 0) return;
  }
  m_status = Load();
  if (g_cache.valid && g_cache.path == m_path) g_cache.named = named;
}

StoreSession::~StoreSession() {
  if (m_lockFd >= 0) close(m_lockFd);  // releases the lock
}

DWORD StoreSession::Load() {
  OpenedFile file = OpenRegularFile(m_path, O_RDONLY);
  const int fd = file.fd;
  const struct stat &info = file.info;
  FileIdentity identity;
  if (file.otherKind) {
    ReportUnreadableStore(m_path, "it is not a regular file");
    return ERROR_ACCESS_DENIED;
  }
  if (fd < 0 && file.error != ENOENT) {
    ReportUnreadableStore(m_path, ReasonOf(file.error));
    return Win32ErrorFromErrno(file.error);
  }
  if (fd >= 0) identity = FileIdentity::Of(info);

  if (g_cache.valid && g_cache.path == m_path && g_cache.identity == identity) {
    if (fd >= 0) close(fd);
    return g_cache.parsed ? ERROR_SUCCESS : ERROR_BADDB;
  }

  std::string bytes;
  bool readable = fd < 0 || ReadWholeFile(fd, bytes, static_cast<size_t>(info.st_size));
  int readError = errno;
  if (fd >= 0) close(fd);
  if (!readable) return Win32ErrorFromErrno(readError);

  g_cache.valid = true;
  g_cache.path = m_path;
  g_cache.identity = identity;
  g_cache.tree = std::make_unique<RegistryTree>();
  StoreParseError error;
  uint64_t fileTime = identity.exists ? FileTimeFromUnix(info.st_mtim) : FileTimeNow();
  g_cache.parsed = ParseStore(bytes, fileTime, *g_cache.tree, error);
  if (!g_cache.parsed) {
    g_cache.tree.reset();
    ReportBadStore(m_path, error);
    return ERROR_BADDB;
  }
  return ERROR_SUCCESS;
}

RegistryTree &StoreSession::Tree() { return *g_cache.tree; }

DWORD StoreSession::Save() {
  std::string scratch;
  FileIdentity written;
  DWORD status = ReplaceFileContents(m_path, StoreFileBytes(*g_cache.tree, scratch), &written);
  // The tree stays only while the file is known to be the one just written.
  if (status == ERROR_SUCCESS && written.exists) {
    g_cache.identity = written;
  } else {
    g_cache.valid = false;
    g_cache.tree.reset();
  }
  if (status != ERROR_SUCCESS) ReportUnwritableStore(m_path, ReasonOfStatus(m_path, status, true));
  return status;
}

}  // namespace standin
