// How long the stand-in file manager lingers after the close command: /D:
// followed by seconds (fractions allowed, 1.2) or "never"; without /D it
// quits at once.
#pragma once

#include <windows.h>

#include "cmdline/command_line_args.h"

struct CloseDelay {
  bool never = false;
  DWORD milliseconds = 0;
};

// Reads the last /D: (or -d:) of arguments 1 and up into `delay`. FALSE when
// its value is neither "never" (in any case) nor a number of seconds: digits,
// optionally a point and more digits, at most a day.
BOOL ReadCloseDelay(const CCommandLineArgs &args, CloseDelay &delay);
