// The stand-in's mutexes (CreateMutexW, WaitForSingleObject, ReleaseMutex):
// objects of this process that threads own as on Windows (a thread may take
// its own mutex again; only the owner releases it; one that ends owning it
// leaves it abandoned to the next waiter), and for named mutexes an
// flock on a lock file in the session's object folder, so that processes
// meet there too. A process that dies holding a named mutex loses the flock
// with its life; the next owner is told WAIT_ABANDONED, which the lock file's
// first byte records ('1' while owned). The lock file goes when the last
// handle of a process that could take its lock closes, as the object goes
// with its last handle on Windows.
#include <windows.h>

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

#include "common/lock_file.h"
#include "common/patient_lock.h"
#include "common/unicode.h"
#include "common/win32_error.h"
#include "handles/handle_table.h"
#include "sync/object_folder.h"

namespace standin {

namespace {

using Clock = MonotonicClock;

struct MutexObject {
  std::string fileName;  // empty: unnamed, this process alone
  int fd = -1;           // the lock file of a named mutex
  int handles = 0;
  DWORD owner = 0;         // thread that owns it, or is taking the lock file for it
  unsigned recursion = 0;  // 0 while the owner is still taking the lock file
};

// The mutex objects of the process; a handle holds its object.
struct MutexTable {
  std::mutex lock;
  std::condition_variable released;
  std::map<std::string, std::shared_ptr<MutexObject>> byFile;  // the named ones
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

// Holders of a mutex's lock file keep it while a run changes its store: a
// waiter looks this often at the longest.
const std::chrono::milliseconds kLongestMutexPause(16);

// Takes the flock of the lock file open as `fd` by `deadline` (patient_lock.h).
// A file that lost its name meanwhile is opened again by name, and `fd` is
// then the new one.
FileLock TakeFileLock(int &fd, const std::string &fileName, bool forever,
                      Clock::time_point deadline) {
  const Clock::time_point until = forever ? Clock::time_point::max() : deadline;
  while (true) {
    if (!WaitForFileLock(fd, kLongestMutexPause, [until] { return until; }))
      return errno == ETIMEDOUT ? FileLock::TimedOut : FileLock::Failed;
    if (IsStillNamed(fd, fileName)) return FileLock::Taken;
    DWORD status = ERROR_SUCCESS;
    int fresh = OpenMutexFile(fileName, status);
    if (fresh < 0) return FileLock::Failed;
    close(fd);
    fd = fresh;
  }
}

void Forget(MutexTable &table, const std::shared_ptr<MutexObject> &object) {
  if (object->fd >= 0) {
    RemoveUnusedFile(object->fd, object->fileName);
    close(object->fd);
  }
  if (!object->fileName.empty()) table.byFile.erase(object->fileName);
}

// A handle of a mutex object. Closing the last one ends the object, unless a
// thread still owns it: then it stays owned until that thread releases it or
// the process ends, as on Windows.
class MutexHandle : public Handle {
 public:
  explicit MutexHandle(std::shared_ptr<MutexObject> object) : m_object(std::move(object)) {}

  void Close() override;
  DWORD Wait(DWORD milliseconds) override;
  const std::shared_ptr<MutexObject> &Object() const { return m_object; }

 private:
  std::shared_ptr<MutexObject> m_object;
};

// Called with the table locked.
HANDLE AddMutexHandle(const std::shared_ptr<MutexObject> &object) {
  ++object->handles;
  return AddHandle(std::make_shared<MutexHandle>(object));
}

void MutexHandle::Close() {
  MutexTable &table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  if (--m_object->handles == 0 && m_object->owner == 0) Forget(table, m_object);
}

DWORD MutexHandle::Wait(DWORD milliseconds) {
  MutexTable &table = Table();
  std::unique_lock<std::mutex> hold(table.lock);
  const std::shared_ptr<MutexObject> &object = m_object;
  const DWORD thread = GetCurrentThreadId();
  if (object->owner == thread && object->recursion > 0) {
    ++object->recursion;
    return WAIT_OBJECT_0;
  }
  const bool forever = milliseconds == INFINITE;
  const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : milliseconds);
  while (object->owner != 0) {
    if (object->recursion > 0 && !ThreadIsAlive(object->owner)) {
      // Its owner ended without releasing it. The process still holds the
      // lock file, so the mutex passes straight to this thread.
      object->owner = thread;
      object->recursion = 1;
      return WAIT_ABANDONED;
    }
    // A thread's end is no event to wait for: it is looked for now and then.
    auto until = Clock::now() + kThreadCheckInterval;
    if (!forever && deadline < until) until = deadline;
    table.released.wait_until(hold, until);
    if (!forever && Clock::now() >= deadline && object->owner != 0) return WAIT_TIMEOUT;
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
  FileLock taken = TakeFileLock(fd, object->fileName, forever, deadline);
  bool abandoned = false;
  if (taken == FileLock::Taken) {
    abandoned = WasAbandoned(fd);
    SetMark(fd, kOwnedMark);
  }
  hold.lock();
  object->fd = fd;
  if (taken != FileLock::Taken) {
    object->owner = 0;
    table.released.notify_all();
    if (object->handles == 0) Forget(table, object);
    if (taken == FileLock::Failed) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    return WAIT_TIMEOUT;
  }
  object->recursion = 1;
  return abandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
}

}  // namespace

}  // namespace standin

using standin::MutexObject;

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCWSTR lpName) {
  standin::MutexTable &table = standin::Table();
  std::lock_guard<std::mutex> hold(table.lock);
  const DWORD thread = GetCurrentThreadId();
  standin::WStringView name = standin::ViewOf(lpName);

  if (name.empty()) {
    auto object = std::make_shared<MutexObject>();
    if (bInitialOwner) {
      object->owner = thread;
      object->recursion = 1;
    }
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
  object->fileName = fileName;
  object->fd = fd;
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

BOOL WINAPI ReleaseMutex(HANDLE hMutex) {
  std::shared_ptr<standin::MutexHandle> handle =
      standin::FindHandleOf<standin::MutexHandle>(hMutex);
  if (handle == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  standin::MutexTable &table = standin::Table();
  std::lock_guard<std::mutex> hold(table.lock);
  const std::shared_ptr<MutexObject> &object = handle->Object();
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
