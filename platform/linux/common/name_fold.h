// Case folding for names that Windows compares without regard to case:
// profile sections and keys, and file names against search patterns. The
// fold is the platform's own CharLowerW, so these comparisons agree with the
// lower-casing the settings store does itself.
#pragma once

#include <windows.h>

#include <cstddef>

#include "common/unicode.h"

namespace standin {

// `name` with every unit lowered by CharLowerW; null units stay.
WString FoldName(WStringView name);

// One unit as FoldName lowers it (CharLowerW maps unit by unit).
WCHAR FoldUnit(WCHAR unit);
// Whether FoldName(a) == FoldName(b), without making either.
bool SameFoldedName(WStringView a, WStringView b);
// A hash of FoldName(name), without making it.
size_t FoldedNameHash(WStringView name);

}  // namespace standin
