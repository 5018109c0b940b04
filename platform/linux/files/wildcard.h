// Matching file names against the wild cards of a search pattern.
#pragma once

#include <windows.h>

#include "common/unicode.h"

namespace standin {

bool HasWildcards(WStringView pattern);

// '*' matches any run of units, '?' exactly one; case is ignored. As on
// Windows, a pattern that ends with ".*" also matches a name without that
// dot, so "*.*" matches every name.
bool MatchesWildcards(WStringView name, WStringView pattern);

}  // namespace standin
