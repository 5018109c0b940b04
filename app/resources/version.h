// addbar's version, for the program's version record and for code that wants
// to report it. Plain macros: the resource compiler reads this file too.
#pragma once

#define ADDBAR_VERSION_MAJOR 1
#define ADDBAR_VERSION_MINOR 0
#define ADDBAR_VERSION_PATCH 0
#define ADDBAR_VERSION_BUILD 1
#define ADDBAR_VERSION_COMMAS 1, 0, 0, 1
#define ADDBAR_VERSION_TEXT "1.0.0.1"

// U.S. English, text in UTF-16 (code page 1200).
#define ADDBAR_VERSION_LANGUAGE 0x0409
#define ADDBAR_VERSION_CODEPAGE 1200
#define ADDBAR_VERSION_BLOCK "040904B0"

#define ADDBAR_ICON_ID 128
