#include "settings/settings_root.h"

#include "settings/key_path.h"
#include "settings/settings_key.h"

void CSettingsRoot::Init(LPCWSTR path, HKEY hive) {
  m_path = path;
  m_hive = hive;
  m_iniPath.Empty();
}

CKeyBinding CSettingsRoot::OpenKey(LPCWSTR name, BOOL readOnly, REGSAM extraAccess) const {
  CKeyBinding binding = {FALSE, readOnly, nullptr, nullptr, JoinKeyPath(m_path, name)};
  if (!m_iniPath.IsEmpty()) {
    // Nothing is opened yet: the key that attaches the binding looks at the file.
    binding.m_isProfile = TRUE;
    binding.m_iniPath = m_iniPath;
    return binding;
  }
  HKEY opened = nullptr;
  LONG status;
  if (readOnly) {
    status = RegOpenKeyExW(m_hive, binding.m_path, 0, KEY_READ | extraAccess, &opened);
  } else {
    status = RegCreateKeyExW(m_hive, binding.m_path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_READ | KEY_WRITE | extraAccess, nullptr, &opened, nullptr);
  }
  binding.m_hKey = status == ERROR_SUCCESS ? opened : nullptr;
  return binding;
}

void CSettingsRoot::OpenInto(CSettingsKey &key, LPCWSTR name, BOOL readOnly) const {
  CKeyBinding binding = OpenKey(name, readOnly, 0);
  key.Close();
  key.Attach(binding);
}

DWORD CSettingsRoot::ReadDword(LPCWSTR name, LPCWSTR valueName, DWORD defaultValue) const {
  CSettingsKey key(OpenKey(name, TRUE, 0));
  DWORD value = 0;
  if (key.m_hKey != nullptr && key.QueryDwordValue(value, valueName) == ERROR_SUCCESS) return value;
  return defaultValue;
}

BOOL CSettingsRoot::WriteDword(LPCWSTR name, LPCWSTR valueName, DWORD value) const {
  CSettingsKey key(OpenKey(name, FALSE, 0));
  return key.m_hKey != nullptr && key.SetDwordValue(value, valueName) == ERROR_SUCCESS;
}
