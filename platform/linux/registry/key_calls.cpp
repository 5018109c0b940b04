// Opening, creating, closing and deleting keys.
#include <windows.h>

#include "registry/file_time.h"
#include "registry/key_context.h"

using namespace standin;

namespace {

// Key names the store file can't hold on its key lines.
bool NameFitsStore(const WString &name) { return name.find_first_of(u"\r\n") == WString::npos; }

// The handle for the key reached from `from` through `names`, which exists.
KeyHandle HandleFor(const KeyContext &context, RegistryKey &from, const std::vector<WString> &names,
                    REGSAM desired) {
  KeyHandle handle;
  handle.path = context.Handle().path;
  RegistryKey *key = &from;
  for (const WString &name : names) {
    key = key->FindChild(name);
    handle.path.push_back(key->Name());
  }
  handle.serial = key->serial;
  handle.access = GrantedAccess(desired);
  return handle;
}

}  // namespace

LONG WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                          PHKEY phkResult) {
  (void)ulOptions;  // no links in this registry: REG_OPTION_OPEN_LINK changes nothing
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  // A predefined key opened with no sub-key is handed back as it is.
  if (IsPredefinedKey(hKey) && ViewOf(lpSubKey).empty()) {
    *phkResult = hKey;
    return ERROR_SUCCESS;
  }
  *phkResult = nullptr;
  if (ResolveHandle(hKey).kind == HandleKind::Invalid) return ERROR_INVALID_HANDLE;
  std::vector<WString> names;
  DWORD status = SplitSubKeyPath(lpSubKey, names);
  if (status != ERROR_SUCCESS) return status;

  // Opening below a key needs no rights on its handle.
  KeyContext context(hKey, StoreSession::Mode::Read, 0);
  if (context.Status() != ERROR_SUCCESS) return context.Status();
  if (context.OtherHive()) return ERROR_FILE_NOT_FOUND;
  if (FindKey(context.Key(), names) == nullptr) return ERROR_FILE_NOT_FOUND;
  *phkResult = AddHandle(HandleFor(context, context.Key(), names, samDesired));
  return ERROR_SUCCESS;
}

LONG WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass,
                            DWORD dwOptions, REGSAM samDesired,
                            const SECURITY_ATTRIBUTES *lpSecurityAttributes, PHKEY phkResult,
                            LPDWORD lpdwDisposition) {
  // Keys keep no class and no security; every key is kept, volatile or not.
  (void)lpClass;
  (void)dwOptions;
  (void)lpSecurityAttributes;
  if (phkResult == nullptr) return ERROR_BADKEY;
  if (Reserved != 0) return ERROR_INVALID_PARAMETER;
  ResolvedHandle parent = ResolveHandle(hKey);
  if (parent.kind == HandleKind::Invalid) return ERROR_INVALID_HANDLE;
  *phkResult = nullptr;
  std::vector<WString> names;
  DWORD status = SplitSubKeyPath(lpSubKey, names);
  if (status != ERROR_SUCCESS) return status;
  for (const WString &name : names) {
    if (!NameFitsStore(name)) return ERROR_INVALID_PARAMETER;
  }
  if (parent.kind == HandleKind::OtherHive) return ERROR_ACCESS_DENIED;
  // Windows' limit on nesting; the store could not be read back otherwise.
  if (parent.key->path.size() + names.size() > kMaxKeyDepth) return ERROR_INVALID_PARAMETER;

  // Creating needs no rights on the parent handle, as on Windows.
  KeyContext context(hKey, StoreSession::Mode::Change, 0);
  if (context.Status() != ERROR_SUCCESS) return context.Status();
  RegistryKey *key = &context.Key();
  bool created = false;
  uint64_t now = FileTimeNow();
  for (const WString &name : names) {
    RegistryKey *child = key->FindChild(name);
    if (child == nullptr) {
      child = &key->AddChild(name);
      child->lastWrite = now;
      child->serial = NewKeySerial();
      key->lastWrite = now;
      created = true;
    }
    key = child;
  }
  if (created) {
    status = context.Save();
    if (status != ERROR_SUCCESS) return status;
  }
  *phkResult = AddHandle(HandleFor(context, context.Key(), names, samDesired));
  if (lpdwDisposition != nullptr)
    *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY hKey) {
  if (hKey == nullptr) return ERROR_INVALID_HANDLE;
  if (IsPredefinedKey(hKey)) return ERROR_SUCCESS;
  return RemoveHandle(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  if (lpSubKey == nullptr) return ERROR_INVALID_PARAMETER;
  ResolvedHandle handle = ResolveHandle(hKey);
  if (handle.kind == HandleKind::Invalid) return ERROR_INVALID_HANDLE;
  std::vector<WString> names;
  DWORD status = SplitSubKeyPath(lpSubKey, names);
  if (status != ERROR_SUCCESS) return status;
  if (handle.kind == HandleKind::OtherHive)
    return names.empty() ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;

  // The key is reached like RegOpenKeyExW does: no rights on hKey needed.
  KeyContext context(hKey, StoreSession::Mode::Change, 0);
  if (context.Status() != ERROR_SUCCESS) return context.Status();
  RegistryKey *target = FindKey(context.Key(), names);
  if (target == nullptr) return ERROR_FILE_NOT_FOUND;
  std::vector<WString> path = context.Handle().path;
  path.insert(path.end(), names.begin(), names.end());
  if (path.empty()) return ERROR_ACCESS_DENIED;  // the hive itself
  if (target->ChildCount() != 0) return ERROR_ACCESS_DENIED;
  path.pop_back();
  RegistryKey *parent = FindKey(context.CurrentUserRoot(), path);
  parent->RemoveChild(target->Name());
  parent->lastWrite = FileTimeNow();
  return context.Save();
}

LONG WINAPI RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) {
  ResolvedHandle handle = ResolveHandle(hKey);
  if (handle.kind == HandleKind::Invalid) return ERROR_INVALID_HANDLE;
  std::vector<WString> names;
  DWORD status = SplitSubKeyPath(lpSubKey, names);
  if (status != ERROR_SUCCESS) return status;

  if (!names.empty()) {
    // The sub-key goes with everything in it.
    if (handle.kind == HandleKind::OtherHive) return ERROR_FILE_NOT_FOUND;
    KeyContext context(hKey, StoreSession::Mode::Change, 0);
    if (context.Status() != ERROR_SUCCESS) return context.Status();
    RegistryKey *target = FindKey(context.Key(), names);
    if (target == nullptr) return ERROR_FILE_NOT_FOUND;
    WString name = target->Name();
    names.pop_back();
    RegistryKey *parent = FindKey(context.Key(), names);
    parent->RemoveChild(name);
    parent->lastWrite = FileTimeNow();
    return context.Save();
  }

  // No sub-key: the key stays, its sub-keys and values go.
  KeyContext context(hKey, StoreSession::Mode::Change, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
  if (context.Status() != ERROR_SUCCESS) return context.Status();
  if (context.OtherHive()) return ERROR_SUCCESS;
  RegistryKey &key = context.Key();
  if (key.ValueCount() != 0 && (context.Handle().access & KEY_SET_VALUE) == 0)
    return ERROR_ACCESS_DENIED;
  if (key.ValueCount() == 0 && key.ChildCount() == 0) return ERROR_SUCCESS;
  key.RemoveAllChildren();
  key.RemoveAllValues();
  key.lastWrite = FileTimeNow();
  return context.Save();
}
