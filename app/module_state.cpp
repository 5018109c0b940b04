#include "app/module_state.h"

namespace {
CModuleState g_moduleState = {nullptr, 0, FALSE};
}  // namespace

BOOL InitModuleState(HINSTANCE hInstance) {
  g_moduleState.m_hInstance = hInstance;
  g_moduleState.m_mainThreadId = GetCurrentThreadId();
  g_moduleState.m_running = TRUE;
  return TRUE;
}

void TerminateModuleState() { g_moduleState.m_running = FALSE; }

const CModuleState &GetModuleState() { return g_moduleState; }
