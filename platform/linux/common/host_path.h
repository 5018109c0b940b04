// How the stand-in maps Windows-style paths onto the host's file system.
//
// Paths cross the Win32 boundary in Windows form: the stand-in hands out paths
// with backslashes (GetModuleFileNameW, argument 0 of the command line), so
// the core's backslash rules work unchanged. Going the other way, both '\' and
// '/' separate components; a host file whose name holds a backslash can't be
// reached.
#pragma once

#include <windows.h>

#include <string>

#include "unicode.h"

namespace standin {

// Win32 path (UTF-16, either separator) -> host path (UTF-8, '/').
std::string ToHostPath(LPCWSTR path);
std::string ToHostPath(WStringView path);

// Host path (UTF-8, '/') -> Win32 path (UTF-16, '\').
WString FromHostPath(const std::string &path);

}  // namespace standin
