// wWinMain: the whole run after the process entry, from start-up to the final
// message box. Its result is the process's exit code.
#pragma once

#include <windows.h>

extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine,
                               int nShowCmd);
