// Length and bounded copy of zero-terminated strings. A null pointer counts
// as the empty string, where Windows would catch the fault and report 0.
#include <windows.h>

int WINAPI lstrlenW(LPCWSTR lpString) {
  if (lpString == nullptr) return 0;
  int length = 0;
  while (lpString[length] != 0) ++length;
  return length;
}

int WINAPI lstrlenA(LPCSTR lpString) {
  if (lpString == nullptr) return 0;
  int length = 0;
  while (lpString[length] != 0) ++length;
  return length;
}

// Copies at most iMaxLength - 1 units and always terminates when there is room
// for the terminator; with no room at all nothing is written. Windows takes the
// length as unsigned, so a negative one sets no bound.
LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength) {
  if (lpString1 == nullptr || lpString2 == nullptr) return nullptr;
  LPWSTR out = lpString1;
  UINT room = static_cast<UINT>(iMaxLength);
  while (room > 1 && *lpString2 != 0) {
    *out++ = *lpString2++;
    --room;
  }
  if (room > 0) *out = 0;
  return lpString1;
}
