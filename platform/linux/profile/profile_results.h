// Handing texts to the caller's buffer as the profile calls do when the
// buffer is too small.
#pragma once

#include <windows.h>

#include <vector>

#include "common/unicode.h"

namespace standin {
namespace profile {

// One string: cut to size - 1 units when longer, always terminated. Returns
// the units copied. size must be at least 1.
DWORD CopyValue(WStringView text, LPWSTR buffer, DWORD size);

// Strings each ending with a null, the list with a second one. A list needs
// two units to spare beyond its strings and nulls: when it doesn't have them
// the last string is cut, two nulls end the buffer and the result is
// size - 2. size must be at least 1; sizes 1 and 2 give 0.
DWORD CopyList(const std::vector<WStringView> &strings, LPWSTR buffer, DWORD size);
DWORD CopyList(const std::vector<WString> &strings, LPWSTR buffer, DWORD size);

}  // namespace profile
}  // namespace standin
