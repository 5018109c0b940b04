// The program's process-wide bookkeeping, set up once at start with the
// instance handle and terminated after the final message box.
#pragma once

#include <windows.h>

struct CModuleState {
  HINSTANCE m_hInstance;
  DWORD m_mainThreadId;
  BOOL m_running;  // between InitModuleState and TerminateModuleState
};

BOOL InitModuleState(HINSTANCE hInstance);
// Marks the state ended. It frees nothing: strings and keys that are released
// after it still rely on the process's storage.
void TerminateModuleState();
const CModuleState &GetModuleState();
