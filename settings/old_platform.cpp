#include "settings/old_platform.h"

LONG g_oldPlatform = -1;

void SettleOldPlatform() {
  if (g_oldPlatform != -1) return;
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  // A failed call leaves the major version 0, which selects the smaller
  // limits: erring towards old keeps INI files readable there.
  GetVersionExW(&version);
  g_oldPlatform = version.dwMajorVersion < 5 ? 1 : 0;
}
