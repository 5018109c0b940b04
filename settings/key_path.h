// Key paths: components separated by single backslashes, no backslash at
// either end.
#pragma once

#include <windows.h>

#include "text/cstring.h"

// path\name, tolerating a trailing backslash on either; null name = none.
CString JoinKeyPath(const CString &path, LPCWSTR name);
