// One run at a time per settings store. Every run takes a named mutex for its
// store before it reads the toolbar settings and holds it until everything is
// written, just before its final box, so that runs side by side end as if one
// had run after the other. The registry is one store whatever the layout (the
// bookmarks are shared by all layouts); an INI file is known by the file its
// path ends at, as the platform names it (GetFinalPathNameByHandleW), so that
// a link, "..", or another spelling of the same file takes the same lock;
// case folded, since Windows file names know no case.
#pragma once

#include <windows.h>

#include "text/cstring.h"

// The mutex name for the store an INI path names; the registry's for an empty
// path. Session-local, at most MAX_PATH - 1 units, no backslash after the
// namespace prefix.
CString MakeStoreRunMutexName(LPCWSTR iniPath);

enum class StoreRunMutexResult { Held, Busy, Failed };

class CStoreRunMutex {
 public:
  CStoreRunMutex() = default;
  ~CStoreRunMutex();
  CStoreRunMutex(const CStoreRunMutex &) = delete;
  CStoreRunMutex &operator=(const CStoreRunMutex &) = delete;

  // Waits at most `waitMs` for the mutex `name`. A holder that ended without
  // releasing it (a killed run) leaves it to the next: that counts as held.
  StoreRunMutexResult Acquire(LPCWSTR name, DWORD waitMs);
  // Lets the next run in; the handle stays until the object goes.
  void Release();

 private:
  HANDLE m_mutex = nullptr;
  bool m_held = false;
};
