// Why a host path names nothing, in the terms Windows uses.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// ERROR_FILE_NOT_FOUND when the folder that would hold `hostPath` exists,
// ERROR_PATH_NOT_FOUND when it does not.
DWORD MissingPathError(const std::string &hostPath);

// The Win32 status for a failed call on `hostPath` that set errno to `error`,
// telling a missing file from a missing folder.
DWORD PathError(const std::string &hostPath, int error);

}  // namespace standin
