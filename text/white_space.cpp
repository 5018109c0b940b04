#include "text/white_space.h"

bool IsSpace(WCHAR unit) {
  // The terminator is never white space: the scanning loops stop on it.
  if (unit == 0) return false;
  WORD type = 0;
  if (!GetStringTypeExW(GetThreadLocale(), CT_CTYPE1, &unit, 1, &type)) return false;
  return (type & C1_SPACE) != 0;
}
