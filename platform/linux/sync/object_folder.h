// Where the stand-in keeps its named kernel objects (mutexes): one lock file
// per name in a private folder of the session, beside the window folder
// (<window folder>.objects), so that everything that makes up one stand-in
// session follows ADDBAR_WINDOWS.
#pragma once

#include <windows.h>

#include <string>

#include "common/unicode.h"

namespace standin {

// <WindowFolderPath()>.objects
std::string ObjectFolderPath();

// Opens the folder (O_DIRECTORY), making it and any missing parents with mode
// 0700 first. The folder must be a real folder (not a link) owned by the user
// with no permission bits for group or others: another user's files could
// stand in for lock files there. Returns the descriptor, or -1 with `status`
// set to a Win32 status.
int OpenObjectFolder(DWORD &status);

// The file name for an object name: letters, digits, '_', '-' and '.' kept
// (but a leading '.'), every other UTF-16 unit written %XXXX; names that
// would make too long a file name become '#' and a hash. Object names match
// with regard to case, and so do these file names.
std::string ObjectFileName(WStringView name);

}  // namespace standin
