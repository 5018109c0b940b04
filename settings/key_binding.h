// CKeyBinding: what opening a key from a root yields, taken over by a key.
#pragma once

#include <windows.h>

#include "text/cstring.h"

struct CKeyBinding {
  BOOL m_isProfile;   // 1 = INI section, 0 = registry key
  BOOL m_readOnly;    // wanted for reading only
  HKEY m_hKey;        // registry handle; null for INI, or when the open failed
  LPCWSTR m_iniPath;  // the root's INI path text; null for the registry
  CString m_path;     // the key's full path
};
