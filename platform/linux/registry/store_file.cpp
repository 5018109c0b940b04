#include "registry/store_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "common/atomic_file.h"
#include "common/file_identity.h"
#include "registry/file_time.h"
#include "registry/store_grammar.h"
#include "registry/store_location.h"
#include "registry/store_lock.h"
#include "registry/store_report.h"

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
CachedStore g_cache;

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

bool ReadWhole(int fd, std::string &bytes) {
  char chunk[65536];
  while (true) {
    ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    bytes.append(chunk, static_cast<size_t>(got));
  }
}

}  // namespace

StoreSession::StoreSession(Mode mode) : m_hold(g_storeLock), m_mode(mode) {
  m_path = ResolveLinkTarget(StoreFilePath());
  if (m_mode == Mode::Change) {
    if (!MakeParentFolders(m_path)) {
      m_status = Win32ErrorFromErrno(errno);
      return;
    }
    m_lockFd = TakeStoreLock(m_path, m_status);
    if (m_lockFd < 0) return;
  }
  m_status = Load();
}

StoreSession::~StoreSession() {
  if (m_lockFd >= 0) close(m_lockFd);  // releases the lock
}

DWORD StoreSession::Load() {
  // Not blocking: a FIFO put in the store's place must not hang the call.
  int fd = open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  FileIdentity identity;
  struct stat info = {};
  if (fd < 0) {
    if (errno != ENOENT) {
      int error = errno;
      ReportUnreadableStore(m_path, ReasonOf(error));
      return Win32ErrorFromErrno(error);
    }
  } else {
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      close(fd);
      ReportUnreadableStore(m_path, "it is not a regular file");
      return ERROR_ACCESS_DENIED;
    }
    identity = FileIdentity::Of(info);
  }

  if (g_cache.valid && g_cache.path == m_path && g_cache.identity == identity) {
    if (fd >= 0) close(fd);
    return g_cache.parsed ? ERROR_SUCCESS : ERROR_BADDB;
  }

  std::string bytes;
  bool readable = fd < 0 || ReadWhole(fd, bytes);
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
  DWORD status = ReplaceFileContents(m_path, WriteStore(*g_cache.tree));
  struct stat info;
  if (status == ERROR_SUCCESS && stat(m_path.c_str(), &info) == 0) {
    g_cache.identity = FileIdentity::Of(info);
  } else {
    g_cache.valid = false;
    g_cache.tree.reset();
  }
  return status;
}

}  // namespace standin
