#include "settings/old_platform.h"

LONG g_oldPlatform = -1;

namespace {

LONG AskOldPlatform() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  // A failed call leaves the major version 0, which selects the smaller
  // limits: erring towards old keeps INI files readable there.
  GetVersionExW(&version);
  return version.dwMajorVersion < 5 ? 1 : 0;
}

}  // namespace

void SettleOldPlatform() {
  if (g_oldPlatform != -1) return;
  g_oldPlatform = AskOldPlatform();
}

bool IsOldPlatform() { return (g_oldPlatform == -1 ? AskOldPlatform() : g_oldPlatform) != 0; }
