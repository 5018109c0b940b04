// Enumerating and counting the sub-keys and values of an open key. Registry
// keys are asked by index; INI keys hand out their sorted listing in order.
#include "settings/settings_key.h"

namespace {

// Registry names longer than this are not handed out.
const DWORD kNameUnits = 1024;

// Whether an INI enumeration call continues the listing already built: only
// the index that follows the last name handed out does.
bool ContinuesListing(const CProfileListing &listing, DWORD index) {
  return listing.m_slots != nullptr && listing.m_position >= 0 &&
         index == static_cast<DWORD>(listing.m_position);
}

// The listing's next name, moving past it; null for the end mark. Once the end
// mark was handed out every later call gives null again, so nothing beyond the
// end mark (a name of an older listing, or past the table) is ever read.
LPCWSTR TakeNextName(CProfileListing &listing) {
  LONG position = listing.m_position;
  if (position < 0) return nullptr;
  if (position > 0 && listing.m_slots[position - 1] == nullptr) return nullptr;
  listing.m_position = position + 1;
  return listing.m_slots[position];
}

bool IsUnnamedEntry(LPCWSTR name) { return name[0] == TEXT('@') && name[1] == 0; }

}  // namespace

CString CSettingsKey::EnumKey(DWORD index) {
  if (m_hKey == nullptr) return CString();
  if (m_iniPath == nullptr) {
    WCHAR name[kNameUnits];
    DWORD length = kNameUnits;
    FILETIME lastWrite;
    LONG status =
        RegEnumKeyExW(m_hKey, index, name, &length, nullptr, nullptr, nullptr, &lastWrite);
    if (status != ERROR_SUCCESS || length >= kNameUnits) return CString();
    return CString(name, static_cast<int>(length));
  }
  if (!ContinuesListing(m_listing, index) && ListSections() == 0) return CString();
  return CString(TakeNextName(m_listing));
}

CString CSettingsKey::EnumValue(DWORD index, DWORD &type) {
  type = REG_NONE;
  if (m_hKey == nullptr) return CString();
  if (m_iniPath == nullptr) {
    WCHAR name[kNameUnits];
    DWORD length = kNameUnits;
    DWORD valueType = REG_NONE;
    LONG status =
        RegEnumValueW(m_hKey, index, name, &length, nullptr, &valueType, nullptr, nullptr);
    if (status != ERROR_SUCCESS || length >= kNameUnits) return CString();
    type = valueType;
    return CString(name, static_cast<int>(length));
  }
  if (!ContinuesListing(m_listing, index) && ListEntries() == 0) return CString();
  LPCWSTR name = TakeNextName(m_listing);
  // The end mark, and a line without a name, both end the enumeration.
  if (name == nullptr || name[0] == 0) return CString();
  type = REG_SZ;  // every INI value is text
  return IsUnnamedEntry(name) ? CString() : CString(name);
}

BOOL CSettingsKey::ListedWhole() const { return m_iniPath == nullptr || m_listing.m_whole; }

BOOL CSettingsKey::QueryInfo(DWORD *subKeyCount, DWORD *valueCount, FILETIME *lastWrite) {
  if (m_hKey == nullptr) return FALSE;
  if (m_iniPath == nullptr) {
    return RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, subKeyCount, nullptr, nullptr,
                            valueCount, nullptr, nullptr, nullptr, lastWrite) == ERROR_SUCCESS;
  }
  if (subKeyCount != nullptr) *subKeyCount = static_cast<DWORD>(ListSections());
  if (valueCount != nullptr) *valueCount = static_cast<DWORD>(ListEntries());
  // The listing holds whichever was built last: the next enumeration starts anew.
  if (subKeyCount != nullptr || valueCount != nullptr) m_listing.m_position = -1;
  if (lastWrite == nullptr) return TRUE;

  lastWrite->dwLowDateTime = 0;
  lastWrite->dwHighDateTime = 0;
  HANDLE file = CreateFileW(m_iniPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FALSE;
  BOOL gotTime = GetFileTime(file, nullptr, nullptr, lastWrite);
  CloseHandle(file);
  // A time that could not be read is not handed out as if it were one.
  return gotTime ? TRUE : FALSE;
}
