// The debugger channel of the stand-in: the debugger output is standard error
// (as UTF-8), and a break into the debugger is SIGTRAP.
#include <windows.h>

#include <csignal>
#include <cstdio>

#include "common/unicode.h"

void WINAPI OutputDebugStringW(LPCWSTR lpOutputString) {
  std::string text = standin::ToUtf8(standin::ViewOf(lpOutputString));
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

void WINAPI DebugBreak(void) { std::raise(SIGTRAP); }
