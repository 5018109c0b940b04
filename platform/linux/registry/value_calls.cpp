// Reading, writing and deleting values.
#include <windows.h>

#include "registry/file_time.h"
#include "registry/key_context.h"
#include "registry/value_copy.h"

using namespace standin;

namespace {
// ERROR_NOACCESS: the caller's buffer is not readable memory.
const LONG kInvalidAccessToMemory = 998;
}  // namespace

LONG WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                             LPBYTE lpData, LPDWORD lpcbData) {
  if ((lpData != nullptr && lpcbData == nullptr) || lpReserved != nullptr)
    return ERROR_INVALID_PARAMETER;
  if (ResolveHandle(hKey).kind == HandleKind::Invalid) return ERROR_INVALID_HANDLE;
  // Asked for the size only, the caller is told 0 unless the value is found.
  if (lpData == nullptr && lpcbData != nullptr) *lpcbData = 0;
  KeyContext context(hKey, StoreSession::Mode::Read, KEY_QUERY_VALUE);
  if (context.Status() != ERROR_SUCCESS) return context.Status();
  if (context.OtherHive()) return ERROR_FILE_NOT_FOUND;

  const RegistryValue *value = context.Key().FindValue(ValueName(lpValueName));
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  LONG status = ERROR_SUCCESS;
  if (lpData != nullptr) {
    // Too small a buffer is left untouched.
    if (value->data.size() > *lpcbData) {
      status = ERROR_MORE_DATA;
    } else {
      CopyValueData(value->type, value->data, lpData, *lpcbData);
    }
  }
  if (lpType != nullptr) *lpType = value->type;
  if (lpcbData != nullptr) *lpcbData = static_cast<DWORD>(value->data.size());
  return status;
}

LONG WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                           const BYTE *lpData, DWORD cbData) {
  (void)Reserved;
  // Addresses in the first 64 KiB are never valid on Windows.
  if ((lpData != nullptr && (reinterpret_cast<uintptr_t>(lpData) >> 16) == 0) ||
      (lpData == nullptr && cbData != 0))
    return kInvalidAccessToMemory;
  std::string data = DataToStore(dwType, lpData, cbData);
  KeyContext context(hKey, StoreSession::Mode::Change, KEY_SET_VALUE);
  if (context.Status() != ERROR_SUCCESS) return context.Status();
  if (context.OtherHive()) return ERROR_ACCESS_DENIED;
  WStringView name = ValueName(lpValueName);
  if (name.size() > kMaxValueNameLength) return ERROR_INVALID_PARAMETER;

  RegistryKey &key = context.Key();
  // Setting what is already there changes nothing, not even the key's time.
  if (!key.SetValue(name, dwType, std::move(data))) return ERROR_SUCCESS;
  key.lastWrite = FileTimeNow();
  return context.Save();
}

LONG WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  KeyContext context(hKey, StoreSession::Mode::Change, KEY_SET_VALUE);
  if (context.Status() != ERROR_SUCCESS) return context.Status();
  if (context.OtherHive()) return ERROR_ACCESS_DENIED;
  RegistryKey &key = context.Key();
  if (!key.RemoveValue(ValueName(lpValueName))) return ERROR_FILE_NOT_FOUND;
  key.lastWrite = FileTimeNow();
  return context.Save();
}
