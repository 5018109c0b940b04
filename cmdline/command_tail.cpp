#include "cmdline/command_tail.h"

LPWSTR FindCommandLineTail(LPWSTR commandLine) {
  LPWSTR p = commandLine;
  if (*p == '"') {
    // A quoted program name runs to the closing quote, or to the end.
    do {
      p = CharNextW(p);
    } while (*p != '"' && *p != 0);
    if (*p == '"') p = CharNextW(p);
  } else if (*p > ' ') {
    while (*p > ' ') p = CharNextW(p);
  }
  while (*p != 0 && *p <= ' ') p = CharNextW(p);
  return p;
}

int GetStartupShowCommand() {
  STARTUPINFOW startup;
  startup.dwFlags = 0;
  GetStartupInfoW(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}
