// CSettingsRoot: where keys live, a base key path under a registry hive and,
// when m_iniPath is set, an INI file whose section names begin with m_path.
#pragma once

#include <windows.h>

#include "settings/key_binding.h"
#include "text/cstring.h"

class CSettingsKey;

struct CSettingsRoot {
  CString m_path;
  HKEY m_hive = nullptr;
  CString m_iniPath;  // empty = registry; must outlive and stay put for its keys

  // null path = empty; empties m_iniPath.
  void Init(LPCWSTR path, HKEY hive);
  // name: sub-key path, null or empty for the root key itself.
  CKeyBinding OpenKey(LPCWSTR name, BOOL readOnly, REGSAM extraAccess) const;
  // OpenKey, then key.Close(), then key.Attach.
  void OpenInto(CSettingsKey &key, LPCWSTR name, BOOL readOnly) const;

  // One number under a sub-key (null name = the root itself).
  DWORD ReadDword(LPCWSTR name, LPCWSTR valueName, DWORD defaultValue) const;
  BOOL WriteDword(LPCWSTR name, LPCWSTR valueName, DWORD value) const;
};
