// Handing texts to the caller's buffer as the profile calls do when the
// buffer is too small.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>
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
DWORD CopyList(const std::vector<WString> &strings, LPWSTR buffer, DWORD size);
// The same for `count` strings that textAt(i) hands out, so that a long list
// need not be gathered first.
template <typename TextAt>
DWORD CopyListOf(size_t count, TextAt textAt, LPWSTR buffer, DWORD size) {
  size_t total = 0;
  for (size_t i = 0; i < count; ++i) total += textAt(i).size() + 1;
  if (total + 2 <= size) {
    size_t at = 0;
    for (size_t i = 0; i < count; ++i) {
      WStringView text = textAt(i);
      std::memcpy(buffer + at, text.data(), text.size() * sizeof(WCHAR));
      at += text.size();
      buffer[at++] = 0;
    }
    buffer[at] = 0;
    return static_cast<DWORD>(at);
  }
  if (size < 2) {
    buffer[0] = 0;
    return 0;
  }
  // What fits of the strings and their nulls, then the two closing nulls.
  const size_t room = size - 2;
  size_t at = 0;
  for (size_t i = 0; i < count; ++i) {
    if (at == room) break;
    WStringView text = textAt(i);
    size_t take = text.size() < room - at ? text.size() : room - at;
    std::memcpy(buffer + at, text.data(), take * sizeof(WCHAR));
    at += take;
    if (at == room) break;
    buffer[at++] = 0;
  }
  buffer[room] = 0;
  buffer[room + 1] = 0;
  return static_cast<DWORD>(room);
}

}  // namespace profile
}  // namespace standin
