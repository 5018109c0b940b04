// Listing sub-keys and values, and what RegQueryInfoKeyW tells about a key.
#include <windows.h>

#include <cstring>

#include "registry/file_time.h"
#include "registry/key_context.h"
#include "registry/value_copy.h"

using namespace standin;

LONG WINAPI RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName,
                          LPDWORD lpReserved, LPWSTR lpClass, LPDWORD lpcchClass,
                          PFILETIME lpftLastWriteTime) {
  if (lpReserved != nullptr) return ERROR_INVALID_PARAMETER;
  // Windows writes through these unchecked; refusing is kinder than a crash.
  if (lpName == nullptr || lpcchName == nullptr) return ERROR_INVALID_PARAMETER;
  KeyContext context(hKey, StoreSession::Mode::Read, KEY_ENUMERATE_SUB_KEYS);
  if (context.Status() != ERROR_SUCCESS) return context.Status();
  if (context.OtherHive() || dwIndex >= context.Key().ChildCount()) return ERROR_NO_MORE_ITEMS;

  const RegistryKey &child = context.Key().ChildAt(dwIndex);
  if (lpftLastWriteTime != nullptr) *lpftLastWriteTime = SplitFileTime(child.lastWrite);
  // Keys have no class: it takes no units, but a class buffer of none can't
  // hold its terminator.
  const WString &name = child.Name();
  if (name.size() >= *lpcchName ||
      (lpClass != nullptr && lpcchClass != nullptr && *lpcchClass == 0))
    return ERROR_MORE_DATA;
  memcpy(lpName, name.data(), name.size() * sizeof(WCHAR));
  lpName[name.size()] = 0;
  *lpcchName = static_cast<DWORD>(name.size());
  if (lpcchClass != nullptr) {
    *lpcchClass = 0;
    if (lpClass != nullptr) lpClass[0] = 0;
  }
  return ERROR_SUCCESS;
}

LONG WINAPI RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                          LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if ((lpData != nullptr && lpcbData == nullptr) || lpReserved != nullptr ||
      lpValueName == nullptr || lpcchValueName == nullptr)
    return ERROR_INVALID_PARAMETER;
  KeyContext context(hKey, StoreSession::Mode::Read, KEY_QUERY_VALUE);
  if (context.Status() != ERROR_SUCCESS) return context.Status();
  if (context.OtherHive() || dwIndex >= context.Key().ValueCount()) return ERROR_NO_MORE_ITEMS;

  const RegistryValue &value = context.Key().ValueAt(dwIndex);
  LONG status = ERROR_SUCCESS;
  // A name that doesn't fit leaves the name buffer and its count alone; data
  // that doesn't fit leaves the data buffer alone. Type and size are told
  // either way.
  if (value.name.size() >= *lpcchValueName) {
    status = ERROR_MORE_DATA;
  } else {
    memcpy(lpValueName, value.name.data(), value.name.size() * sizeof(WCHAR));
    lpValueName[value.name.size()] = 0;
    *lpcchValueName = static_cast<DWORD>(value.name.size());
    if (lpData != nullptr) {
      if (value.data.size() > *lpcbData) {
        status = ERROR_MORE_DATA;
      } else {
        CopyValueData(value.type, value.data, lpData, *lpcbData);
      }
    }
  }
  if (lpType != nullptr) *lpType = value.type;
  if (lpcbData != nullptr) *lpcbData = static_cast<DWORD>(value.data.size());
  return status;
}

LONG WINAPI RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                             LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                             LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                             LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                             PFILETIME lpftLastWriteTime) {
  (void)lpReserved;
  if (lpClass != nullptr && lpcchClass == nullptr) return ERROR_INVALID_PARAMETER;
  KeyContext context(hKey, StoreSession::Mode::Read, KEY_QUERY_VALUE);
  if (context.Status() != ERROR_SUCCESS) return context.Status();

  RegistryKey empty{WString()};
  RegistryKey &key = context.OtherHive() ? empty : context.Key();
  if (lpClass != nullptr && *lpcchClass != 0) lpClass[0] = 0;
  if (lpcchClass != nullptr) *lpcchClass = 0;
  // Lengths of names count units without the terminator; data counts bytes.
  if (lpcSubKeys != nullptr) *lpcSubKeys = static_cast<DWORD>(key.ChildCount());
  if (lpcbMaxSubKeyLen != nullptr) *lpcbMaxSubKeyLen = key.LongestChildName();
  if (lpcbMaxClassLen != nullptr) *lpcbMaxClassLen = 0;
  if (lpcValues != nullptr) *lpcValues = static_cast<DWORD>(key.ValueCount());
  if (lpcbMaxValueNameLen != nullptr) *lpcbMaxValueNameLen = key.LongestValueName();
  if (lpcbMaxValueLen != nullptr) *lpcbMaxValueLen = key.LongestValueData();
  // No security descriptors are kept.
  if (lpcbSecurityDescriptor != nullptr) *lpcbSecurityDescriptor = 0;
  if (lpftLastWriteTime != nullptr) *lpftLastWriteTime = SplitFileTime(key.lastWrite);
  return ERROR_SUCCESS;
}
