// lstrcmpW and lstrcmpiW: linguistic comparisons with the thread's locale.
// A null pointer sorts before every string, as on Windows.
#include <windows.h>

#include "text_calls/collation.h"

static int CompareWithNulls(LPCWSTR left, LPCWSTR right, standin::CaseRule caseRule) {
  if (left == nullptr || right == nullptr) {
    if (left == right) return 0;
    return left == nullptr ? -1 : 1;
  }
  return standin::CompareLinguistic(standin::WStringView(left), standin::WStringView(right),
                                    caseRule);
}

int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) {
  return CompareWithNulls(lpString1, lpString2, standin::CaseRule::Sensitive);
}

int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
  return CompareWithNulls(lpString1, lpString2, standin::CaseRule::Ignore);
}
