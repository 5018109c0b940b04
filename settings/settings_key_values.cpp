// Reading and writing the values of an open key, in the registry or as INI
// entries of the key's section.
#include <memory>
#include <new>

#include "settings/old_platform.h"
#include "settings/settings_key.h"

namespace {

// GetPrivateProfileIntW's default: a number that can't come from the file
// unless the file holds exactly this one, which then reads as missing.
const UINT kNoNumber = 0xDEADBEEB;
// Structure entries above this size overflow the old platforms' profile lines.
const DWORD kOldPlatformStructBytes = 0x7FFF;
// GetStringValue's buffer; one byte less is offered, as the callers expect.
const DWORD kStringBufferUnits = 50000;

LPCWSTR NameOrUnnamed(LPCWSTR name) { return name == nullptr || name[0] == 0 ? TEXT("@") : name; }

// A stored REG_SZ/REG_EXPAND_SZ/REG_MULTI_SZ is accepted only when its bytes
// form whole units ending in the terminator(s) its type needs; other types
// are not strings.
LONG CheckStringData(DWORD type, LPCWSTR buffer, DWORD bytes) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      // No bytes at all hold no terminated text: refused like an empty INI entry.
      if (bytes % 2 != 0 || bytes == 0) return ERROR_INVALID_DATA;
      if (buffer == nullptr) return ERROR_SUCCESS;
      return buffer[bytes / 2 - 1] == 0 ? ERROR_SUCCESS : ERROR_INVALID_DATA;
    case REG_MULTI_SZ:
      if (bytes % 2 != 0 || bytes < 4) return ERROR_INVALID_DATA;
      if (buffer == nullptr) return ERROR_SUCCESS;
      return buffer[bytes / 2 - 1] == 0 && buffer[bytes / 2 - 2] == 0 ? ERROR_SUCCESS
                                                                      : ERROR_INVALID_DATA;
    default:
      return ERROR_INVALID_DATA;
  }
}

}  // namespace

// The INI backend refuses an empty entry name (what a null or empty value name
// becomes for numbers and binary blocks): Windows' profile calls crash on one,
// and a line "=text" would read back as nothing and end a value enumeration.

CString CSettingsKey::ToProfileName(LPCWSTR name) {
  CString entry(name);
  int length = entry.GetLength();
  if (entry.Find(TEXT('=')) < 0) return entry;
  LPWSTR text = entry.GetBuffer(length);
  if (text == nullptr) return CString();
  for (LPWSTR p = text; *p != 0; p = CharNextW(p)) {
    if (*p == TEXT('=')) *p = TEXT('_');
  }
  entry.ReleaseBuffer(length);
  return entry;
}

LONG CSettingsKey::QueryDwordValue(DWORD &value, LPCWSTR name) {
  if (m_hKey == nullptr) return ERROR_INVALID_HANDLE;
  if (m_iniPath == nullptr) {
    DWORD type = REG_NONE;
    DWORD stored = 0;
    DWORD bytes = sizeof stored;
    LONG status =
        RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<LPBYTE>(&stored), &bytes);
    if (type != REG_DWORD) return ERROR_INVALID_DATA;
    if (status != ERROR_SUCCESS) return status;
    // A REG_DWORD of fewer bytes would leave part of the number unset.
    if (bytes != sizeof stored) return ERROR_INVALID_DATA;
    value = stored;
    return ERROR_SUCCESS;
  }
  CString entry = ToProfileName(name);
  if (entry.IsEmpty()) return ERROR_INVALID_DATA;
  UINT number = GetPrivateProfileIntW(m_path, entry, static_cast<INT>(kNoNumber), m_iniPath);
  if (number == kNoNumber) return ERROR_INVALID_DATA;
  value = number;
  return ERROR_SUCCESS;
}

LONG CSettingsKey::SetDwordValue(DWORD value, LPCWSTR name) {
  if (m_hKey == nullptr) return ERROR_INVALID_HANDLE;
  if (m_iniPath == nullptr) {
    return RegSetValueExW(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                          sizeof value);
  }
  CString entry = ToProfileName(name);
  if (entry.IsEmpty()) return ERROR_INVALID_DATA;
  WCHAR text[20];
  wsprintfW(text, TEXT("%d"), static_cast<int>(value));
  return WritePrivateProfileStringW(m_path, entry, text, m_iniPath) ? ERROR_SUCCESS
                                                                    : ERROR_INVALID_DATA;
}

LONG CSettingsKey::QueryStringValue(LPWSTR buffer, LPCWSTR name, DWORD *byteCount) {
  if (m_hKey == nullptr) return ERROR_INVALID_HANDLE;
  if (byteCount == nullptr) return ERROR_INVALID_DATA;
  if (m_iniPath == nullptr) {
    DWORD type = REG_NONE;
    LONG status =
        RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), byteCount);
    if (status != ERROR_SUCCESS) return status;
    return CheckStringData(type, buffer, *byteCount);
  }
  CString entry = ToProfileName(NameOrUnnamed(name));
  DWORD units = *byteCount / 2;
  DWORD copied = 0;
  // The profile call has no way to report a size without a buffer to fill.
  if (buffer != nullptr && units > 0 && !entry.IsEmpty())
    copied = GetPrivateProfileStringW(m_path, entry, nullptr, buffer, units, m_iniPath);
  *byteCount = copied > 0 ? 2 * copied + 2 : 0;
  return copied > 0 ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

LONG CSettingsKey::SetStringValue(LPCWSTR text, LPCWSTR name) {
  if (m_hKey == nullptr) return ERROR_INVALID_HANDLE;
  // A null text would make the profile call delete the entry instead.
  if (text == nullptr) return ERROR_INVALID_DATA;
  if (m_iniPath == nullptr) {
    DWORD bytes = 2 * (static_cast<DWORD>(lstrlenW(text)) + 1);
    return RegSetValueExW(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text), bytes);
  }
  CString entry = ToProfileName(NameOrUnnamed(name));
  if (entry.IsEmpty()) return ERROR_INVALID_DATA;
  return WritePrivateProfileStringW(m_path, entry, text, m_iniPath) ? ERROR_SUCCESS
                                                                    : ERROR_INVALID_DATA;
}

LONG CSettingsKey::SetBinaryValue(const void *data, LPCWSTR name, DWORD byteCount) {
  if (m_hKey == nullptr) return ERROR_INVALID_HANDLE;
  if (data == nullptr) return ERROR_INVALID_DATA;
  if (m_iniPath == nullptr) {
    return RegSetValueExW(m_hKey, name, 0, REG_BINARY, static_cast<const BYTE *>(data), byteCount);
  }
  if (byteCount > kOldPlatformStructBytes && g_oldPlatform != 0) return ERROR_INSUFFICIENT_BUFFER;
  CString entry = ToProfileName(name);
  if (entry.IsEmpty()) return ERROR_FILE_NOT_FOUND;
  return WritePrivateProfileStructW(m_path, entry, const_cast<void *>(data), byteCount, m_iniPath)
             ? ERROR_SUCCESS
             : ERROR_FILE_NOT_FOUND;
}

BOOL CSettingsKey::HasValue(LPCWSTR name) {
  if (m_hKey == nullptr) return FALSE;
  if (m_iniPath == nullptr) {
    return RegQueryValueExW(m_hKey, name, nullptr, nullptr, nullptr, nullptr) !=
           ERROR_FILE_NOT_FOUND;
  }
  CString entry = ToProfileName(NameOrUnnamed(name));
  if (entry.IsEmpty()) return TRUE;  // out of memory: can't tell
  // A missing entry reads as the default; an entry that is there reads the
  // same whatever the default, so it can't read as both of two defaults.
  static const WCHAR kFirstDefault[] = {1, 0};
  static const WCHAR kSecondDefault[] = {2, 0};
  WCHAR text[4];
  DWORD length = GetPrivateProfileStringW(m_path, entry, kFirstDefault, text, 4, m_iniPath);
  if (length != 1 || text[0] != kFirstDefault[0]) return TRUE;
  length = GetPrivateProfileStringW(m_path, entry, kSecondDefault, text, 4, m_iniPath);
  return length != 1 || text[0] != kSecondDefault[0];
}

CString GetStringValue(CSettingsKey &key, LPCWSTR name, LPCWSTR defaultText) {
  std::unique_ptr<WCHAR[]> buffer(new (std::nothrow) WCHAR[kStringBufferUnits]);
  if (buffer == nullptr) return CString(defaultText);
  buffer[0] = 0;
  DWORD byteCount = 2 * kStringBufferUnits - 1;
  if (key.QueryStringValue(buffer.get(), name, &byteCount) != ERROR_SUCCESS)
    return CString(defaultText);
  // Up to the first null unit: a REG_MULTI_SZ gives its first string.
  return CString(buffer.get());
}
