#include "profile/profile_results.h"

#include <cstring>

namespace standin {
namespace profile {

DWORD CopyValue(WStringView text, LPWSTR buffer, DWORD size) {
  size_t count = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), count * sizeof(WCHAR));
  buffer[count] = 0;
  return static_cast<DWORD>(count);
}

DWORD CopyList(const std::vector<WStringView> &strings, LPWSTR buffer, DWORD size) {
  size_t total = 0;
  for (WStringView text : strings) total += text.size() + 1;
  if (total + 2 <= size) {
    size_t at = 0;
    for (WStringView text : strings) {
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
  for (WStringView text : strings) {
    if (at == room) break;
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

DWORD CopyList(const std::vector<WString> &strings, LPWSTR buffer, DWORD size) {
  return CopyList(std::vector<WStringView>(strings.begin(), strings.end()), buffer, size);
}

}  // namespace profile
}  // namespace standin
