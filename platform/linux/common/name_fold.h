// Case folding for names that Windows compares without regard to case:
// profile sections and keys, and file names against search patterns. The
// fold is the platform's own CharLowerW, so these comparisons agree with the
// lower-casing the settings store does itself.
#pragma once

#include <windows.h>

#include "common/unicode.h"

namespace standin {

// `name` with every unit lowered by CharLowerW; null units stay.
WString FoldName(WStringView name);

}  // namespace standin
