// Common controls on the stand-in: there are no windows to register classes
// for, so a well-formed request simply succeeds.
#include <commctrl.h>

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX *picce) {
  // As Windows: the record must be there and say its own size.
  if (picce == nullptr || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  return TRUE;
}
