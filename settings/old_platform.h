// Whether the platform is older than version 5, which selects the smaller INI
// limits. -1 until the first key constructed from a binding settles it; any
// non-zero value counts as old.
#pragma once

#include <windows.h>

extern LONG g_oldPlatform;

// Sets g_oldPlatform from the platform's major version, once.
void SettleOldPlatform();

// Whether the platform is known to be older than version 5, asking it when
// g_oldPlatform is not settled yet (and leaving g_oldPlatform as it is).
bool IsOldPlatform();
