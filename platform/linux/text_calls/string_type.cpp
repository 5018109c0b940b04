// GetStringTypeExW: character classes of a run of code units. The stand-in
// keeps only the CT_CTYPE1 class; asking for another class fails as not
// implemented rather than answering with made-up bits.
#include <windows.h>

#include "text_calls/char_class.h"

BOOL WINAPI GetStringTypeExW(LCID Locale, DWORD dwInfoType, LPCWSTR lpSrcStr, int cchSrc,
                             LPWORD lpCharType) {
  (void)Locale;  // the wide call gives every locale the same classes
  if (lpSrcStr == nullptr || lpCharType == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (dwInfoType == CT_CTYPE2 || dwInfoType == CT_CTYPE3) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  if (dwInfoType != CT_CTYPE1) {  // one class at a time
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // A negative count means up to the terminator, which is classified too.
  int count = cchSrc < 0 ? lstrlenW(lpSrcStr) + 1 : cchSrc;
  // Each unit is read before its own slot is written, so the source and the
  // result may share one buffer.
  for (int i = 0; i < count; ++i) lpCharType[i] = standin::CType1Of(lpSrcStr[i]);
  return TRUE;
}
