#include "sync/mutex_objects.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "common/atomic_file.h"
#include "common/lock_file.h"
#include "common/unicode.h"
#include "files/handle_table.h"
#include "sync/object_folder.h"

namespace standin {

namespace {

using Clock = std::chrono::steady_clock;

struct MutexObject {
  unsigned long long id = 0;
  std::string fileName;  // empty: unnamed, this process alone
  int fd = -1;           // the lock file of a named mutex
  int handles = 0;
  DWORD owner = 0;         // thread that owns it, or is taking the lock file for it
  unsigned recursion = 0;  // 0 while the owner is still taking the lock file
};

struct MutexTable {
  std::mutex lock;
  std::condition_variable released;
  std::map<unsigned long long, std::shared_ptr<MutexObject>> byId;
  std::map<std::string, std::shared_ptr<MutexObject>> byFile;
  unsigned long long nextId = 1;
};

MutexTable &Table() {
  static MutexTable *table = new MutexTable();
  return *table;
}

const auto kThreadCheckInterval = std::chrono::milliseconds(10);

bool ThreadIsAlive(DWORD thread) {
  return syscall(SYS_tgkill, getpid(), static_cast<pid_t>(thread), 0) == 0 || errno != ESRCH;
}

const char kOwnedMark = '1';
const char kFreeMark = '0';

// Whether the last owner died owning it, going by the lock file's mark.
bool WasAbandoned(int fd) {
  char mark = kFreeMark;
  return pread(fd, &mark, 1, 0) == 1 && mark == kOwnedMark;
}

void SetMark(int fd, char mark) {
  ssize_t written = pwrite(fd, &mark, 1, 0);
  (void)written;  // a mark that can't be written only loses the abandoned report
}

// "Local\name" and "name" are the same object of the session; "Global\name"
// is one of its own. Any other backslash names a folder of the object
// namespace that doesn't exist.
bool ObjectKey(WStringView name, WString &key) {
  static const WString kLocal = u"Local\\";
  static const WString kGlobal = u"Global\\";
  if (name.substr(0, kLocal.size()) == kLocal) {
    key = WString(name.substr(kLocal.size()));
  } else if (name.substr(0, kGlobal.size()) == kGlobal) {
    key = u"Global%" + WString(name.substr(kGlobal.size()));
  } else {
    key = WString(name);
  }
  return key.find(u'\\') == WString::npos;
}

// Opens the lock file of the object `fileName` (common/lock_file.h).
int OpenMutexFile(const std::string &fileName, DWORD &status) {
  int folder = OpenObjectFolder(status);
  if (folder < 0) return -1;
  const std::string name = fileName + ".mutex";
  OpenedLockFile lock = OpenLockFile(folder, name, geteuid(), getegid());
  close(folder);
  if (lock.fd < 0) {
    ReportRefusedLockFile("the named mutex's lock file", ObjectFolderPath() + "/" + name,
                          lock.reason, "The mutex can't be made until it is removed.");
    bool refused = lock.error == ELOOP || lock.error == EACCES || lock.error == EPERM;
    status = refused ? ERROR_ACCESS_DENIED : Win32ErrorFromErrno(lock.error);
    return -1;
  }
  return lock.fd;
}

// Whether the lock file open as `fd` is still the one named `fileName`: the
// last process to close a mutex takes its file away (RemoveUnusedFile), and
// one who locked it after that holds the lock of a file nobody else sees.
bool IsStillNamed(int fd, const std::string &fileName) {
  DWORD status = ERROR_SUCCESS;
  int folder = OpenObjectFolder(status);
  if (folder < 0) return false;
  struct stat opened, named;
  bool same = fstat(fd, &opened) == 0 &&
              fstatat(folder, (fileName + ".mutex").c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
              opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
  close(folder);
  return same;
}

// Takes the lock file away when no process holds it and it was not left
// abandoned: a named mutex goes with its last handle on Windows, and its file
// goes here, so that files don't pile up. A process that has the file open
// finds it gone once it takes the lock (IsStillNamed) and opens it anew.
void RemoveUnusedFile(int fd, const std::string &fileName) {
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || WasAbandoned(fd) || !IsStillNamed(fd, fileName)) return;
  DWORD status = ERROR_SUCCESS;
  int folder = OpenObjectFolder(status);
  if (folder < 0) return;
  unlinkat(folder, (fileName + ".mutex").c_str(), 0);
  close(folder);
}

enum class FileLock { Taken, TimedOut, Failed };

// Polls the flock of the lock file open as `fd` until `deadline`: flock itself
// can't wait a bounded time. A file that lost its name meanwhile is opened
// again by name, and `fd` is then the new one.
FileLock TakeFileLock(int &fd, const std::string &fileName, bool forever,
                      Clock::time_point deadline) {
  auto pause = std::chrono::milliseconds(1);
  while (true) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (IsStillNamed(fd, fileName)) return FileLock::Taken;
      DWORD status = ERROR_SUCCESS;
      int fresh = OpenMutexFile(fileName, status);
      if (fresh < 0) return FileLock::Failed;
      close(fd);
      fd = fresh;
      continue;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) return FileLock::Failed;
    Clock::time_point now = Clock::now();
    if (!forever && now >= deadline) return FileLock::TimedOut;
    auto wait = forever ? pause : std::min<Clock::duration>(pause, deadline - now);
    std::this_thread::sleep_for(wait);
    if (pause < std::chrono::milliseconds(16)) pause *= 2;
  }
}

HANDLE AddMutexHandle(const std::shared_ptr<MutexObject> &object) {
  HandleEntry entry;
  entry.kind = HandleKind::Mutex;
  entry.object = object->id;
  ++object->handles;
  return AddHandle(entry);
}

std::shared_ptr<MutexObject> ObjectOf(MutexTable &table, HANDLE handle) {
  HandleEntry entry;
  if (!FindHandle(handle, HandleKind::Mutex, entry)) return nullptr;
  auto found = table.byId.find(entry.object);
  return found == table.byId.end() ? nullptr : found->second;
}

void Forget(MutexTable &table, const std::shared_ptr<MutexObject> &object) {
  if (object->fd >= 0) {
    RemoveUnusedFile(object->fd, object->fileName);
    close(object->fd);
  }
  if (!object->fileName.empty()) table.byFile.erase(object->fileName);
  table.byId.erase(object->id);
}

}  // namespace

bool CloseMutexHandle(HANDLE handle) {
  MutexTable &table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  HandleEntry entry;
  if (!RemoveHandle(handle, HandleKind::Mutex, entry)) return false;
  auto found = table.byId.find(entry.object);
  if (found == table.byId.end()) return true;
  std::shared_ptr<MutexObject> object = found->second;
  if (--object->handles == 0 && object->owner == 0) Forget(table, object);
  return true;
}

}  // namespace standin

using standin::MutexObject;

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCWSTR lpName) {
  standin::MutexTable &table = standin::Table();
  std::lock_guard<std::mutex> hold(table.lock);
  const DWORD thread = GetCurrentThreadId();
  standin::WStringView name = standin::ViewOf(lpName);

  if (name.empty()) {
    auto object = std::make_shared<MutexObject>();
    object->id = table.nextId++;
    if (bInitialOwner) {
      object->owner = thread;
      object->recursion = 1;
    }
    table.byId[object->id] = object;
    SetLastError(ERROR_SUCCESS);
    return standin::AddMutexHandle(object);
  }

  standin::WString key;
  if (!standin::ObjectKey(name, key)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  const std::string fileName = standin::ObjectFileName(key);
  auto existing = table.byFile.find(fileName);
  if (existing != table.byFile.end()) {
    // The object exists already: the initial owner was settled by its creator.
    SetLastError(ERROR_ALREADY_EXISTS);
    return standin::AddMutexHandle(existing->second);
  }

  DWORD status = ERROR_SUCCESS;
  int fd = standin::OpenMutexFile(fileName, status);
  if (fd < 0) {
    SetLastError(status);
    return nullptr;
  }
  auto object = std::make_shared<MutexObject>();
  object->id = table.nextId++;
  object->fileName = fileName;
  object->fd = fd;
  table.byId[object->id] = object;
  table.byFile[fileName] = object;
  DWORD result = ERROR_SUCCESS;
  if (bInitialOwner) {
    // Another process owning it is the one case where the stand-in sees that
    // the object existed before; then, as on Windows, nobody gets ownership.
    standin::FileLock taken =
        standin::TakeFileLock(object->fd, fileName, false, standin::Clock::now());
    if (taken == standin::FileLock::Taken) {
      object->owner = thread;
      object->recursion = 1;
      standin::SetMark(object->fd, standin::kOwnedMark);
    } else {
      result = ERROR_ALREADY_EXISTS;
    }
  }
  HANDLE handle = standin::AddMutexHandle(object);
  SetLastError(result);
  return handle;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  standin::MutexTable &table = standin::Table();
  std::unique_lock<std::mutex> hold(table.lock);
  std::shared_ptr<MutexObject> object = standin::ObjectOf(table, hHandle);
  if (object == nullptr) {
    // Mutexes are the only objects the stand-in waits on.
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  const DWORD thread = GetCurrentThreadId();
  if (object->owner == thread && object->recursion > 0) {
    ++object->recursion;
    return WAIT_OBJECT_0;
  }
  const bool forever = dwMilliseconds == INFINITE;
  const auto deadline =
      standin::Clock::now() + std::chrono::milliseconds(forever ? 0 : dwMilliseconds);
  while (object->owner != 0) {
    if (object->recursion > 0 && !standin::ThreadIsAlive(object->owner)) {
      // Its owner ended without releasing it. The process still holds the
      // lock file, so the mutex passes straight to this thread.
      object->owner = thread;
      object->recursion = 1;
      return WAIT_ABANDONED;
    }
    // A thread's end is no event to wait for: it is looked for now and then.
    auto until = standin::Clock::now() + standin::kThreadCheckInterval;
    if (!forever && deadline < until) until = deadline;
    table.released.wait_until(hold, until);
    if (!forever && standin::Clock::now() >= deadline && object->owner != 0) return WAIT_TIMEOUT;
  }
  object->owner = thread;
  object->recursion = 0;
  if (object->fd < 0) {
    object->recursion = 1;
    return WAIT_OBJECT_0;
  }

  // The lock file is taken without holding the table: other threads may
  // come and go meanwhile, and wait for this one.
  int fd = object->fd;
  hold.unlock();
  standin::FileLock taken = standin::TakeFileLock(fd, object->fileName, forever, deadline);
  bool abandoned = false;
  if (taken == standin::FileLock::Taken) {
    abandoned = standin::WasAbandoned(fd);
    standin::SetMark(fd, standin::kOwnedMark);
  }
  hold.lock();
  object->fd = fd;
  if (taken != standin::FileLock::Taken) {
    object->owner = 0;
    table.released.notify_all();
    if (object->handles == 0) standin::Forget(table, object);
    if (taken == standin::FileLock::Failed) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    return WAIT_TIMEOUT;
  }
  object->recursion = 1;
  return abandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
}

BOOL WINAPI ReleaseMutex(HANDLE hMutex) {
  standin::MutexTable &table = standin::Table();
  std::lock_guard<std::mutex> hold(table.lock);
  std::shared_ptr<MutexObject> object = standin::ObjectOf(table, hMutex);
  if (object == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (object->owner != GetCurrentThreadId() || object->recursion == 0) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  if (--object->recursion > 0) return TRUE;
  if (object->fd >= 0) {
    standin::SetMark(object->fd, standin::kFreeMark);
    flock(object->fd, LOCK_UN);
  }
  object->owner = 0;
  table.released.notify_all();
  return TRUE;
}
