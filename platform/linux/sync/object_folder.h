// Where the stand-in keeps its named kernel objects (mutexes): one lock file
// per name in a private folder of the session, beside the window folder
// (<window folder>.objects), so that everything that makes up one stand-in
// session follows ADDBAR_WINDOWS.
#pragma once

#include <windows.h>

#include <string>

#include "common/unicode.h"

namespace standin {

// <WindowFolderPath()>.objects; empty when there is no window folder path.
std::string ObjectFolderPath();

// Opens the folder (O_DIRECTORY), making it first with mode 0700 when it is
// missing (MakeSessionFolder: never its parents). The folder must be a real
// folder (not a link) owned by the user that no one else may write to:
// another user's files could stand in for lock files there. Returns the
// descriptor, or -1 with `status` set to a Win32 status.
int OpenObjectFolder(DWORD &status);

// The file name for an object name: letters, digits, '_', '-' and '.' kept
// (but a leading '.'), every other UTF-16 unit written %XXXX; names that
// would make too long a file name become '#' and a hash. Object names match
// with regard to case, and so do these file names.
std::string ObjectFileName(WStringView name);

}  // namespace standin
