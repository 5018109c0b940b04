#include "app/app_info.h"

namespace {
// Room for any path the platform hands out, long-path prefix included.
const int kModulePathUnits = 33000;
}  // namespace

CAppInfo::CAppInfo() {
  m_versionInfo.dwOSVersionInfoSize = 0;
  for (LONG &value : m_reserved) value = -1;
}

const OSVERSIONINFOA &CAppInfo::GetVersionInfo() {
  if (m_versionInfo.dwOSVersionInfoSize == 0) {
    m_versionInfo.dwOSVersionInfoSize = sizeof m_versionInfo;
    if (!GetVersionExA(&m_versionInfo)) m_versionInfo.dwOSVersionInfoSize = 0;
  }
  return m_versionInfo;
}

CString CAppInfo::GetModulePath() {
  if (m_modulePath.IsEmpty()) {
    CString buffer;
    LPWSTR units = buffer.GetBuffer(kModulePathUnits);
    if (units == nullptr) return m_modulePath;
    units[0] = 0;
    GetModuleFileNameW(nullptr, units, kModulePathUnits);
    // Older platforms leave a cut path unterminated: never read past the buffer.
    int length = 0;
    while (length < kModulePathUnits && units[length] != 0) ++length;
    m_modulePath = CString(units, length);
  }
  return m_modulePath;
}

CString CAppInfo::GetModuleDirectory() {
  if (m_moduleDirectory.IsEmpty()) {
    m_moduleDirectory = GetModulePath();
    if (!m_moduleDirectory.IsEmpty())
      m_moduleDirectory = m_moduleDirectory.Left(m_moduleDirectory.ReverseFind(TEXT('\\')) + 1);
  }
  return m_moduleDirectory;
}
