// Linguistic comparison of UTF-16 strings, as CompareString does it for the
// US English locale with word sort (the default).
//
// Strings are compared level by level: first the letters, digits and symbols
// (primary weights), then case (lower before upper), then the hyphens,
// apostrophes and control characters that word sort sets aside (special
// weights), by where they stand and what they are.
//
// Printable ASCII and the ASCII controls carry Windows' own weights. Other
// units are an approximation: they sort after all of ASCII, by their lower
// case code unit, with case told apart at the case level; so two strings
// compare equal ignoring case exactly when their CharLowerW forms are equal.
#pragma once

#include "common/unicode.h"

namespace standin {

enum class CaseRule { Sensitive, Ignore };

// -1, 0 or 1.
int CompareLinguistic(WStringView left, WStringView right, CaseRule caseRule);

}  // namespace standin
