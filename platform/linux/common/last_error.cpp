// The calling thread's last-error code, as GetLastError reports it.
#include <windows.h>

static thread_local DWORD t_lastError = 0;

DWORD WINAPI GetLastError(void) { return t_lastError; }

void WINAPI SetLastError(DWORD dwErrCode) { t_lastError = dwErrCode; }
