// COM start-up on the stand-in: nothing to start, but the results follow
// Windows, which counts initialisations per thread.
#include <objbase.h>

namespace {
thread_local int t_comInitialisations = 0;
}  // namespace

HRESULT WINAPI CoInitialize(LPVOID) {
  // S_OK for the thread's first call, S_FALSE while COM is already started.
  return t_comInitialisations++ == 0 ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize(void) {
  if (t_comInitialisations > 0) --t_comInitialisations;
}
