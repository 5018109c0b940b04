#include "registry/store_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <set>

#include "common/atomic_file.h"
#include "common/file_identity.h"
#include "common/whole_file.h"
#include "registry/file_time.h"
#include "registry/store_grammar.h"
#include "registry/store_location.h"

namespace standin {

namespace {

// The last store read, kept between calls.
struct CachedStore {
  std::string path;
  FileIdentity identity;
  bool valid = false;   // the entry describes the file at `path`
  bool parsed = false;  // false: the file did not parse
  std::unique_ptr<RegistryTree> tree;
};

std::mutex g_storeLock;
// Never destroyed: freeing a large tree as the process ends is time spent on
// nothing.
CachedStore &g_cache = *new CachedStore;
std::set<std::string> g_reportedStores;

void ReportBadStore(const std::string &path, const StoreParseError &error) {
  if (!g_reportedStores.insert(path).second) return;
  fprintf(stderr,
          "addbar: the registry store %s can't be read: line %zu: %s. The file is left as it "
          "is; every registry call on it fails until it is mended or removed.\n",
          path.c_str(), error.line, error.reason.c_str());
}

}  // namespace

StoreSession::StoreSession(Mode mode) : m_hold(g_storeLock), m_mode(mode) {
  m_path = ResolveLinkTarget(StoreFilePath());
  if (m_mode == Mode::Change) {
    if (!MakeParentFolders(m_path)) {
      m_status = Win32ErrorFromErrno(errno);
      return;
    }
    std::string lockPath = m_path + ".lock";
    m_lockFd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_lockFd < 0) {
      m_status = Win32ErrorFromErrno(errno);
      return;
    }
    while (flock(m_lockFd, LOCK_EX) != 0) {
      if (errno != EINTR) {
        m_status = Win32ErrorFromErrno(errno);
        return;
      }
    }
  }
  m_status = Load();
}

StoreSession::~StoreSession() {
  if (m_lockFd >= 0) close(m_lockFd);  // releases the lock
}

DWORD StoreSession::Load() {
  int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
  FileIdentity identity;
  struct stat info = {};
  if (fd < 0) {
    if (errno != ENOENT) return Win32ErrorFromErrno(errno);
  } else {
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      close(fd);
      return ERROR_ACCESS_DENIED;
    }
    identity = FileIdentity::Of(info);
  }

  if (g_cache.valid && g_cache.path == m_path && g_cache.identity == identity) {
    if (fd >= 0) close(fd);
    return g_cache.parsed ? ERROR_SUCCESS : ERROR_BADDB;
  }

  std::string bytes;
  bool readable = fd < 0 || ReadWholeFile(fd, bytes);
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
  const std::string bytes = WriteStore(*g_cache.tree, static_cast<size_t>(g_cache.identity.size));
  FileIdentity written;
  DWORD status = ReplaceFileContents(m_path, {ByteSpan{bytes.data(), bytes.size()}}, &written);
  // The tree stays only while the file is known to be the one just written.
  if (status == ERROR_SUCCESS && written.exists) {
    g_cache.identity = written;
  } else {
    g_cache.valid = false;
    g_cache.tree.reset();
  }
  return status;
}

}  // namespace standin
