// Prints the drive letters a Windows program sees, in order and on one line
// ("ACDZ"), for the end-to-end script: under Wine a new link in the prefix's
// dosdevices shows up in this list only some seconds later, and the script
// waits for it before it runs addbar. Built by scripts/e2e-wine.sh with
// mingw-w64; it runs under Wine only.
#include <windows.h>

#include <cstdio>

int wmain() {
  // 26 drives take 104 units and the final terminator.
  WCHAR roots[128] = {};
  DWORD length = GetLogicalDriveStringsW(128, roots);
  if (length == 0 || length >= 128) return 1;
  for (DWORD i = 0; i < length; i += 4) std::putchar(static_cast<char>(roots[i]));
  std::putchar('\n');
  return 0;
}
