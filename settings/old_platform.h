// Whether the platform is older than version 5, which selects the smaller INI
// limits. -1 until the first key constructed from a binding settles it; any
// non-zero value counts as old.
#pragma once

#include <windows.h>

extern LONG g_oldPlatform;

// Sets g_oldPlatform from the platform's major version, once.
void SettleOldPlatform();
