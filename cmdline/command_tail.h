// What the process entry hands to wWinMain besides the module handle.
#pragma once

#include <windows.h>

// The command line behind the program name and the blanks after it.
LPWSTR FindCommandLineTail(LPWSTR commandLine);

// The show command from the start-up record, SW_SHOWDEFAULT when it has none.
int GetStartupShowCommand();
