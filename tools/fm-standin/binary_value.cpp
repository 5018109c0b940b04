#include "tools/fm-standin/binary_value.h"

namespace {

// Far more than any drive bar needs; a longer entry is taken as damaged.
const DWORD kLongestEntryUnits = 65536;

bool ReadRegistryBinary(HKEY key, LPCWSTR name, std::vector<BYTE> &data) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_BINARY) {
    return false;
  }
  data.assign(size, 0);
  if (size == 0) return true;
  return RegQueryValueExW(key, name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS &&
         type == REG_BINARY && size == data.size();
}

bool ReadProfileBinary(const CSettingsKey &key, LPCWSTR name, std::vector<BYTE> &data) {
  CString entry = CSettingsKey::ToProfileName(name);
  std::vector<WCHAR> text(kLongestEntryUnits, 0);
  DWORD length = GetPrivateProfileStringW(key.m_path, entry, TEXT(""), text.data(),
                                          kLongestEntryUnits, key.m_iniPath);
  // Two hex digits per byte, then two for the checksum.
  if (length < 2 || length % 2 != 0 || length >= kLongestEntryUnits - 1) return false;
  data.assign((length - 2) / 2, 0);
  return GetPrivateProfileStructW(key.m_path, entry, data.data(), static_cast<UINT>(data.size()),
                                  key.m_iniPath) != FALSE;
}

}  // namespace

bool ReadBinaryValue(CSettingsKey &key, LPCWSTR name, std::vector<BYTE> &data) {
  data.clear();
  if (key.m_hKey == nullptr) return false;
  if (key.m_iniPath == nullptr) return ReadRegistryBinary(key.m_hKey, name, data);
  return ReadProfileBinary(key, name, data);
}
