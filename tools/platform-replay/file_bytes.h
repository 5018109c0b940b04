// Whole files through the Win32 file calls, which both builds have.
#pragma once

#include <windows.h>

#include <string>

namespace replay {

// False when the file can't be opened or read; `bytes` then holds what was read.
bool ReadFileBytes(LPCWSTR path, std::string &bytes);
// Creates or empties the file and writes `bytes`.
bool WriteFileBytes(LPCWSTR path, const std::string &bytes);

}  // namespace replay
