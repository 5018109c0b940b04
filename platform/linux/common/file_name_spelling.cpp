#include "common/file_name_spelling.h"

#include <cstdio>

namespace standin {

uint64_t NameHash(const std::string &bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char byte : bytes) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string SpellAsFileName(WStringView units, bool (*isKept)(WCHAR unit, size_t index),
                            size_t longest) {
  std::string spelled;
  for (size_t i = 0; i < units.size(); ++i) {
    if (isKept(units[i], i)) {
      spelled += static_cast<char>(units[i]);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "%%%04X", static_cast<unsigned>(units[i]));
      spelled += escaped;
    }
  }
  if (spelled.size() <= longest) return spelled;
  // Names this long are rare, a collision of their hashes rarer still.
  char hashed[24];
  std::snprintf(hashed, sizeof hashed, "#%016llx",
                static_cast<unsigned long long>(NameHash(spelled)));
  return hashed;
}

}  // namespace standin
