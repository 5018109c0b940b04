// How the stand-in maps Windows-style paths onto the host's file system.
//
// Paths cross the Win32 boundary in Windows form: the stand-in hands out paths
// with backslashes (GetModuleFileNameW, argument 0 of the command line), so
// the core's backslash rules work unchanged. Going the other way, both '\' and
// '/' separate components; a host file whose name holds a backslash can't be
// reached. Names convert as host names (unicode.h): a host name that is not
// UTF-8 keeps its bytes through the round trip.
#pragma once

#include <windows.h>

#include <string>

#include "common/unicode.h"

namespace standin {

// Win32 path (UTF-16, either separator) -> host path (bytes, '/'). False, with
// `host` unspecified, when the path has no host spelling (see ToHostBytes):
// the calls then fail with ERROR_INVALID_NAME.
bool ToHostPath(LPCWSTR path, std::string &host);
bool ToHostPath(WStringView path, std::string &host);

// Host path (bytes, '/') -> Win32 path (UTF-16, '\').
WString FromHostPath(const std::string &path);

// The Windows folder (GetWindowsDirectoryW, where a profile call looks for a
// file named without a folder) as a host path: the folder ADDBAR_WINDOWS_DIR
// names; false when it is unset or empty, since the stand-in has no other.
bool WindowsFolderHostPath(std::string &hostPath);

}  // namespace standin
