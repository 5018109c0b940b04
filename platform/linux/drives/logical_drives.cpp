// GetLogicalDriveStringsW: the roots of the machine's drives, A:\ to Z:\ in
// letter order, each followed by a null unit, then one more null unit.
#include <windows.h>

#include "drives/drive_letters.h"

DWORD WINAPI GetLogicalDriveStringsW(DWORD nBufferLength, LPWSTR lpBuffer) {
  const DWORD drives = standin::LogicalDriveMask();
  DWORD count = 0;
  for (int drive = 0; drive < 26; ++drive) {
    if (drives & (1u << drive)) ++count;
  }
  // Too small a buffer gets nothing; the result is then the size needed,
  // terminator included, which is always above the size given.
  const DWORD needed = count * 4 + 1;
  if (nBufferLength < needed || lpBuffer == nullptr) return needed;
  LPWSTR out = lpBuffer;
  for (int drive = 0; drive < 26; ++drive) {
    if (!(drives & (1u << drive))) continue;
    *out++ = static_cast<WCHAR>(u'A' + drive);
    *out++ = u':';
    *out++ = u'\\';
    *out++ = 0;
  }
  *out = 0;
  return count * 4;
}
