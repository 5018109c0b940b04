#include "settings_test_store.h"

IniStore::IniStore(LPCWSTR prefix) : file(folder.File("store.ini")) {
  root.Init(prefix, HKEY_CURRENT_USER);
  root.m_iniPath = file.c_str();
}

void IniStore::Write(const WString &text) const {
  testing_support::WriteBytes(file, testing_support::Utf16File(text));
}

WString IniStore::Entry(LPCWSTR section, LPCWSTR name) const {
  WCHAR text[256];
  GetPrivateProfileStringW(section, name, TEXT("<missing>"), text, 256, file.c_str());
  return text;
}

WString IniStore::Lines(LPCWSTR section) const {
  std::vector<WCHAR> buffer(65536);
  DWORD filled = GetPrivateProfileSectionW(section, buffer.data(), 65536, file.c_str());
  WString joined;
  for (DWORD i = 0; i < filled; ++i) joined += buffer[i] == 0 ? WCHAR('|') : buffer[i];
  if (!joined.empty()) joined.pop_back();
  return joined;
}

RegistryStore::RegistryStore() { root.Init(registry.BasePath().c_str(), HKEY_CURRENT_USER); }

void RegistryStore::SetRaw(LPCWSTR subKey, LPCWSTR name, DWORD type, const void *data,
                           DWORD bytes) const {
  WString path = registry.BasePath() + WCHAR('\\') + subKey;
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &key, nullptr));
  EXPECT_EQ(ERROR_SUCCESS,
            RegSetValueExW(key, name, 0, type, static_cast<const BYTE *>(data), bytes));
  RegCloseKey(key);
}

std::vector<WString> KeyNames(CSettingsKey &key) {
  std::vector<WString> names;
  for (DWORD index = 0; index < 5000; ++index) {
    CString name = key.EnumKey(index);
    if (name.IsEmpty()) break;
    names.push_back(Text(name));
  }
  return names;
}

std::vector<std::pair<WString, DWORD>> ValueNames(CSettingsKey &key) {
  std::vector<std::pair<WString, DWORD>> values;
  for (DWORD index = 0; index < 5000; ++index) {
    DWORD type = 99;
    CString name = key.EnumValue(index, type);
    if (name.IsEmpty() && type == REG_NONE) break;
    values.emplace_back(Text(name), type);
  }
  return values;
}
