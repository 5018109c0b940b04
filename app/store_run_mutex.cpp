#include "app/store_run_mutex.h"

#include "app/settings_location.h"

namespace {

const WCHAR kRegistryLockName[] = TEXT("Local\\addbar-settings-registry");
const WCHAR kIniLockPrefix[] = TEXT("Local\\addbar-settings-ini-");
// Longest path a full-path call is asked for: the longest Windows has.
const DWORD kLongestPath = 32768;

// The path as a full path, spelled out by the platform; as given when the
// platform can't say.
CString FullPathText(const CString &path) {
  CString full;
  LPWSTR units = full.GetBuffer(kLongestPath);
  if (units == nullptr) return path;
  DWORD length = GetFullPathNameW(path, kLongestPath, units, nullptr);
  if (length == 0 || length >= kLongestPath) {
    full.ReleaseBuffer(0);
    return path;
  }
  full.ReleaseBuffer(static_cast<int>(length));
  return full;
}

bool StartsWith(const CString &text, LPCWSTR prefix) {
  return lstrcmpW(text.Left(lstrlenW(prefix)), prefix) == 0;
}

// The path without the "\\?\" prefix a final path comes with: "\\?\UNC\"
// stands for the "\\" of a share.
CString WithoutLongPathPrefix(const CString &path) {
  const WCHAR kSharePrefix[] = TEXT("\\\\?\\UNC\\");
  const WCHAR kLongPrefix[] = TEXT("\\\\?\\");
  if (StartsWith(path, kSharePrefix)) return CString(TEXT("\\\\")) + path.Mid(8);
  if (StartsWith(path, kLongPrefix)) return path.Mid(4);
  return path;
}

// The final path of what `path` names (a file, or with backup semantics a
// folder) as the platform knows it: links, "." and "..", and on Windows short
// names and case resolved. Empty when it can't be opened or named.
CString FinalPathOf(LPCWSTR path) {
  HANDLE opened = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return CString();
  CString named;
  LPWSTR units = named.GetBuffer(kLongestPath);
  if (units != nullptr) {
    DWORD length = GetFinalPathNameByHandleW(opened, units, kLongestPath, FILE_NAME_NORMALIZED);
    named.ReleaseBuffer(length < kLongestPath ? static_cast<int>(length) : 0);
  }
  CloseHandle(opened);
  return WithoutLongPathPrefix(named);
}

// The file a path ends at, named by the platform rather than by the text
// that led there: the file's final path; for a file not made yet, its
// folder's final path and its name; the full path when neither can be had.
// The path itself is opened, not a full path spelled from it: a platform
// that follows a link before it takes ".." (the Linux host) must name the
// file the profile calls will open.
CString FinalIniPath(const CString &target) {
  CString named = FinalPathOf(target);
  if (!named.IsEmpty()) return named;
  int separator = target.ReverseFind(TEXT('\\'));
  int slash = target.ReverseFind(TEXT('/'));
  if (slash > separator) separator = slash;
  if (separator < 0) return FullPathText(target);
  CString folder = target.Left(separator);
  // "" is the root, and "C:" alone the current folder of drive C: the
  // separator belongs to the folder there.
  if (folder.IsEmpty() || folder.GetAt(folder.GetLength() - 1) == TEXT(':'))
    folder = target.Left(separator + 1);
  CString namedFolder = FinalPathOf(folder);
  if (namedFolder.IsEmpty()) return FullPathText(target);
  if (namedFolder.GetAt(namedFolder.GetLength() - 1) != TEXT('\\')) namedFolder += TEXT("\\");
  return namedFolder + target.Mid(separator + 1);
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

CString MakeStoreRunMutexName(LPCWSTR iniPath) {
  if (iniPath == nullptr || iniPath[0] == 0) return CString(kRegistryLockName);
  CString path = FinalIniPath(ProfileFilePath(iniPath));
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

CStoreRunMutex::~CStoreRunMutex() {
  Release();
  if (m_mutex != nullptr) CloseHandle(m_mutex);
}

StoreRunMutexResult CStoreRunMutex::Acquire(LPCWSTR name, DWORD waitMs) {
  if (m_mutex == nullptr) m_mutex = CreateMutexW(nullptr, FALSE, name);
  if (m_mutex == nullptr) return StoreRunMutexResult::Failed;
  switch (WaitForSingleObject(m_mutex, waitMs)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
      m_held = true;
      return StoreRunMutexResult::Held;
    case WAIT_TIMEOUT:
      return StoreRunMutexResult::Busy;
    default:
      return StoreRunMutexResult::Failed;
  }
}

void CStoreRunMutex::Release() {
  if (!m_held) return;
  ReleaseMutex(m_mutex);
  m_held = false;
}
