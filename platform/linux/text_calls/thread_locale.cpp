// The stand-in runs every thread in US English, the locale whose sort order and
// ANSI code page (1252) the other text calls follow.
#include <windows.h>

LCID WINAPI GetThreadLocale(void) { return MAKELCID(0x0409, SORT_DEFAULT); }
