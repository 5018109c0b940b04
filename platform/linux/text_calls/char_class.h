// The character classes of UTF-16 code units, as Windows reports them through
// GetStringTypeExW(CT_CTYPE1), for the whole Basic Multilingual Plane.
#pragma once

#include <windows.h>

namespace standin {

// Not a CT_CTYPE1 bit: set on nonspacing and enclosing marks, which belong to
// the character before them when text is stepped through character by character.
constexpr WORD kNonspacingMark = 0x8000;

// The CT_CTYPE1 bits of one code unit.
WORD CType1Of(WCHAR unit);

bool IsNonspacingMark(WCHAR unit);

}  // namespace standin
