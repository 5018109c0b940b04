// DefWindowProcW on the stand-in. The program calls it once at start-up on no
// window at all; with no windows of its own here, every message gets 0.
#include <windows.h>

LRESULT WINAPI DefWindowProcW(HWND, UINT, WPARAM, LPARAM) { return 0; }
