// The Win32 status a failed host call stands for.
#pragma once

#include <windows.h>

namespace standin {

// Maps an errno value to the nearest Win32 status.
DWORD Win32ErrorFromErrno(int error);

}  // namespace standin
