// Patterns for naming records in the list of known differences.
#pragma once

#include <string>

namespace replay {

// `*` stands for any run of characters (none included), `?` for one; every
// other character for itself. The whole text must match.
bool MatchesPattern(const std::string &pattern, const std::string &text);

}  // namespace replay
