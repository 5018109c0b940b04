// CharLowerW: lower-cases a string in place, or one character passed in the
// pointer itself when the pointer's high word is zero.
#include <windows.h>

#include "text_calls/case_mapping.h"

LPWSTR WINAPI CharLowerW(LPWSTR lpsz) {
  ULONG_PTR value = reinterpret_cast<ULONG_PTR>(lpsz);
  if ((value >> 16) == 0) {
    WCHAR lowered = standin::LowerOf(static_cast<WCHAR>(value));
    return reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(lowered));
  }
  for (LPWSTR p = lpsz; *p != 0; ++p) *p = standin::LowerOf(*p);
  return lpsz;
}
