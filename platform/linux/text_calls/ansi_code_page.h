// The ANSI code page of the stand-in: Windows-1252, the one of US English.
#pragma once

#include <windows.h>

namespace standin {

WCHAR WideFromAnsi(CHAR byte);

}  // namespace standin
