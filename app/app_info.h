// CAppInfo: facts about the running program, each looked up on first use.
#pragma once

#include <windows.h>

#include "text/cstring.h"

class CAppInfo {
 public:
  CAppInfo();
  CAppInfo(const CAppInfo &) = delete;
  CAppInfo &operator=(const CAppInfo &) = delete;

  // The platform's version record; a failed read is tried again next time.
  const OSVERSIONINFOA &GetVersionInfo();
  // Full path of the program's executable.
  CString GetModulePath();
  // The module path up to and including its last backslash.
  CString GetModuleDirectory();

  CString m_moduleDirectory;     // empty until first asked for
  CString m_modulePath;          // empty until first asked for
  CString m_spare;               // never set by this program
  OSVERSIONINFOA m_versionInfo;  // size field 0 until read
  LONG m_reserved[4];            // -1; nothing reads them
};
