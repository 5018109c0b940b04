// Small path helpers for finding the INI file and naming the program.
#pragma once

#include <windows.h>

#include "text/cstring.h"

// 1 when `path` names a file, -1 when it names a directory, 0 when it is empty
// or names nothing. Wild cards count as a file when they match one.
int ProbePath(LPCWSTR path);

// The characters after the last backslash; the whole path when it has none,
// empty when it ends with one.
CString FileNameOf(const CString &path);
