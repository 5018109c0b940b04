// addbar's version, for the program's version record and for code that wants
// to report it. Plain macros: the resource compiler reads this file too.
#pragma once

// The numbers (ADDBAR_VERSION_MAJOR to _BUILD, _COMMAS, _TEXT) come from the
// project's version in CMakeLists.txt, through a header the build makes.
#include "addbar_version.h"

// U.S. English, text in UTF-16 (code page 1200).
#define ADDBAR_VERSION_LANGUAGE 0x0409
#define ADDBAR_VERSION_CODEPAGE 1200
#define ADDBAR_VERSION_BLOCK "040904B0"

#define ADDBAR_ICON_ID 128
