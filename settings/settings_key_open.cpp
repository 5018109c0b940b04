// Opening, attaching and closing keys; the INI file checks of an opening.
#include <cstdlib>

#include "settings/key_path.h"
#include "settings/old_platform.h"
#include "settings/settings_key.h"

namespace {

// Enough to tell whether a section has any line at all.
const DWORD kProbeUnits = 8;

bool SectionHasLines(LPCWSTR section, LPCWSTR file) {
  WCHAR probe[kProbeUnits];
  return GetPrivateProfileSectionW(section, probe, kProbeUnits, file) != 0;
}

}  // namespace

HKEY ProfileKeyMarker() { return reinterpret_cast<HKEY>(static_cast<INT_PTR>(-1)); }

CSettingsKey::CSettingsKey()
    : m_hKey(nullptr),
      m_readOnly(FALSE),
      m_iniPath(nullptr),
      m_listing{nullptr, nullptr, -1, 0, TRUE} {}

CSettingsKey::CSettingsKey(const CKeyBinding &binding) : CSettingsKey() {
  Attach(binding);
  SettleOldPlatform();
}

CSettingsKey::~CSettingsKey() {
  Close();
  std::free(m_listing.m_slots);
}

void CSettingsKey::Attach(const CKeyBinding &binding) {
  if (binding.m_isProfile) {
    m_hKey = nullptr;
    m_iniPath = binding.m_iniPath;
  } else {
    m_hKey = binding.m_hKey;
    m_iniPath = nullptr;
  }
  m_path = binding.m_path;
  OpenProfile(binding.m_readOnly);
}

LONG CSettingsKey::Open(const CSettingsKey &parent, LPCWSTR name, REGSAM access) {
  CKeyBinding binding = {FALSE, (access & KEY_SET_VALUE) ? FALSE : TRUE, nullptr, nullptr,
                         JoinKeyPath(parent.m_path, name)};
  if (parent.m_iniPath != nullptr) {
    binding.m_isProfile = TRUE;
    binding.m_iniPath = parent.m_iniPath;
  } else {
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExW(parent.m_hKey, name, 0, access, &opened);
    // This key keeps what it held until the new one is open.
    if (status != ERROR_SUCCESS) return status;
    binding.m_hKey = opened;
  }
  LONG status = Close();
  Attach(binding);
  return m_hKey == nullptr ? E_FAIL : status;
}

LONG CSettingsKey::Close() {
  LONG status = ERROR_SUCCESS;
  if (m_hKey != nullptr && m_hKey != ProfileKeyMarker()) status = RegCloseKey(m_hKey);
  m_hKey = nullptr;
  m_path.Empty();
  m_listing.m_position = -1;  // the block stays for the next listing
  m_iniPath = nullptr;
  return status;
}

void CSettingsKey::OpenProfile(BOOL readOnly) {
  m_readOnly = readOnly;
  if (m_iniPath == nullptr) return;
  m_hKey = nullptr;

  HANDLE file = CreateFileW(m_iniPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (readOnly) {
    if (file == INVALID_HANDLE_VALUE) return;
    CloseHandle(file);
    if (m_path.IsEmpty() || SectionHasLines(m_path, m_iniPath)) m_hKey = ProfileKeyMarker();
    return;
  }

  if (file == INVALID_HANDLE_VALUE) {
    // Only a file that isn't there is created: one that exists but can't be
    // read (locked, no permission) must never be emptied, so CREATE_NEW.
    file = CreateFileW(m_iniPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    // The byte-order mark makes the profile calls keep the file in UTF-16.
    static const BYTE kByteOrderMark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file, kByteOrderMark, sizeof kByteOrderMark, &written, nullptr);
  }
  CloseHandle(file);
  // INVALID_FILE_ATTRIBUTES has the read-only bit too: a failed call refuses.
  if (GetFileAttributesW(m_iniPath) & FILE_ATTRIBUTE_READONLY) return;
  m_hKey = ProfileKeyMarker();
  EnsureParentSection();
}

void CSettingsKey::EnsureParentSection() {
  if (m_iniPath == nullptr) return;
  int lastBackslash = m_path.ReverseFind(TEXT('\\'));
  // No backslash: no parent. A leading one would name a section without a
  // name, which no key has and which Windows' profile calls crash on.
  if (lastBackslash <= 0) return;
  CString parent = m_path.Left(lastBackslash);
  // The "@" line lets a later read-only opening of the parent succeed.
  if (!SectionHasLines(parent, m_iniPath))
    WritePrivateProfileStringW(parent, TEXT("@"), TEXT(""), m_iniPath);
}
