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

DWORD CopyList(const std::vector<WString> &strings, LPWSTR buffer, DWORD size) {
  return CopyListOf(
      strings.size(), [&](size_t i) { return WStringView(strings[i]); }, buffer, size);
}

}  // namespace profile
}  // namespace standin
