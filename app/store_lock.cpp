#include "app/store_lock.h"

namespace {

const WCHAR kRegistryLockName[] = TEXT("Local\\addbar-settings-registry");
const WCHAR kIniLockPrefix[] = TEXT("Local\\addbar-settings-ini-");
// Longest path a full-path call is asked for: the longest Windows has.
const DWORD kLongestPath = 32768;

// A name without folder or drive: the profile calls read it in the Windows
// folder, so that is the file the lock stands for.
bool IsBareFileName(LPCWSTR path) {
  for (LPCWSTR unit = path; *unit != 0; unit = CharNextW(unit)) {
    if (*unit == TEXT('\\') || *unit == TEXT('/')) return false;
  }
  return !(path[0] != 0 && path[1] == TEXT(':'));
}

// The file the profile calls work on, as a full path; as given when the
// platform can't say.
CString FullIniPath(LPCWSTR iniPath) {
  CString target = iniPath;
  if (IsBareFileName(iniPath)) {
    WCHAR folder[MAX_PATH + 1];
    UINT length = GetWindowsDirectoryW(folder, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) {
      target = folder;
      if (folder[length - 1] != TEXT('\\')) target += TEXT("\\");
      target += iniPath;
    }
  }
  CString full;
  LPWSTR units = full.GetBuffer(kLongestPath);
  if (units == nullptr) return target;
  DWORD length = GetFullPathNameW(target, kLongestPath, units, nullptr);
  if (length == 0 || length >= kLongestPath) {
    full.ReleaseBuffer(0);
    return target;
  }
  full.ReleaseBuffer(static_cast<int>(length));
  return full;
}

// 64-bit FNV-1a of the units, for paths too long to spell out in a name.
CString HashOf(const CString &text) {
  unsigned long long hash = 14695981039346656037ull;
  for (int i = 0; i < text.GetLength(); ++i) {
    WCHAR unit = text.GetAt(i);
    hash ^= static_cast<unsigned char>(unit & 0xFF);
    hash *= 1099511628211ull;
    hash ^= static_cast<unsigned char>(unit >> 8);
    hash *= 1099511628211ull;
  }
  CString hex;
  hex.Format(TEXT("#%08X%08X"), static_cast<DWORD>(hash >> 32), static_cast<DWORD>(hash));
  return hex;
}

}  // namespace

CString MakeStoreLockName(LPCWSTR iniPath) {
  if (iniPath == nullptr || iniPath[0] == 0) return CString(kRegistryLockName);
  CString path = FullIniPath(iniPath);
  LPWSTR units = path.GetBuffer(path.GetLength());
  if (units != nullptr) {
    CharLowerW(units);
    path.ReleaseBuffer(path.GetLength());
  }
  // A backslash would name a folder of the object namespace.
  path.Replace(TEXT("\\"), TEXT("/"));
  CString name = CString(kIniLockPrefix) + path;
  if (name.GetLength() < MAX_PATH) return name;
  return CString(kIniLockPrefix) + HashOf(path);
}

CStoreLock::~CStoreLock() {
  Release();
  if (m_mutex != nullptr) CloseHandle(m_mutex);
}

StoreLockResult CStoreLock::Acquire(LPCWSTR name, DWORD waitMs) {
  if (m_mutex == nullptr) m_mutex = CreateMutexW(nullptr, FALSE, name);
  if (m_mutex == nullptr) return StoreLockResult::Failed;
  switch (WaitForSingleObject(m_mutex, waitMs)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
      m_held = true;
      return StoreLockResult::Held;
    case WAIT_TIMEOUT:
      return StoreLockResult::Busy;
    default:
      return StoreLockResult::Failed;
  }
}

void CStoreLock::Release() {
  if (!m_held) return;
  ReleaseMutex(m_mutex);
  m_held = false;
}
