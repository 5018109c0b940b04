// CharNextW: one step to the next character as a reader sees it. A step takes
// the combining marks that follow a character along with it, and the two
// halves of a surrogate pair together; at the terminator it stays.
#include <windows.h>

#include "text_calls/char_class.h"

static bool IsHighSurrogate(WCHAR unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
static bool IsLowSurrogate(WCHAR unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

LPWSTR WINAPI CharNextW(LPCWSTR lpsz) {
  if (*lpsz == 0) return const_cast<LPWSTR>(lpsz);
  LPCWSTR next = lpsz + 1;
  if (IsHighSurrogate(*lpsz) && IsLowSurrogate(*next)) ++next;
  while (*next != 0 && standin::IsNonspacingMark(*next)) ++next;
  return const_cast<LPWSTR>(next);
}
