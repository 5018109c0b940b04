// The one white-space test of the program: a code unit the platform's
// character-type data (CT_CTYPE1, the thread's locale) marks C1_SPACE.
#pragma once

#include <windows.h>

bool IsSpace(WCHAR unit);
