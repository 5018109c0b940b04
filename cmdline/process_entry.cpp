// The first code of the process: hands the command line's tail and the show
// command to wWinMain and ends the process with its result.
#include <windows.h>

#include "app/run_sequence.h"
#include "cmdline/command_tail.h"

extern "C" void WINAPI ProcessEntry(void) {
  LPWSTR commandLine = GetCommandLineW();
  if (commandLine == nullptr) ExitProcess(0xFFFFFFFF);
  LPWSTR tail = FindCommandLineTail(commandLine);
  int show = GetStartupShowCommand();
  int exitCode = wWinMain(GetModuleHandleW(nullptr), nullptr, tail, show);
  ExitProcess(static_cast<UINT>(exitCode));
}
