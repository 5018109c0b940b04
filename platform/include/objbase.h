// COM start-up names addbar uses, for the Linux build (see windows.h).
#pragma once

#include <windows.h>

HRESULT WINAPI CoInitialize(LPVOID pvReserved);
void WINAPI CoUninitialize(void);
