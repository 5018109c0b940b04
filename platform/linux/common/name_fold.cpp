#include "common/name_fold.h"

#include <cstdint>

namespace standin {

WString FoldName(WStringView name) {
  // Most names are ASCII, where CharLowerW changes A-Z only: done here, as
  // fast as a listing of many thousand names needs.
  bool ascii = true;
  for (WCHAR unit : name) ascii = ascii && unit < 0x80;
  if (ascii) {
    WString folded(name);
    for (WCHAR &unit : folded) {
      if (unit >= 'A' && unit <= 'Z') unit = static_cast<WCHAR>(unit + ('a' - 'A'));
    }
    return folded;
  }
  // CharLowerW stops at a null unit, so each run between nulls is lowered on
  // its own; the buffer keeps a terminator after the last run.
  WString folded(name);
  folded.push_back(0);
  size_t at = 0;
  while (at + 1 < folded.size()) {
    if (folded[at] != 0) CharLowerW(&folded[at]);
    while (at < folded.size() && folded[at] != 0) ++at;
    ++at;
  }
  folded.pop_back();
  return folded;
}

}  // namespace standin

namespace standin {

WCHAR FoldUnit(WCHAR unit) {
  if (unit < 0x80)
    return unit >= 'A' && unit <= 'Z' ? static_cast<WCHAR>(unit + ('a' - 'A')) : unit;
  // CharLowerW's one-character form: the unit in the pointer's low word.
  LPWSTR lowered = CharLowerW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(unit)));
  return static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(lowered));
}

bool SameFoldedName(WStringView a, WStringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && FoldUnit(a[i]) != FoldUnit(b[i])) return false;
  }
  return true;
}

size_t FoldedNameHash(WStringView name) {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
  for (WCHAR unit : name) {
    hash ^= FoldUnit(unit);
    hash *= 1099511628211ull;
  }
  return static_cast<size_t>(hash);
}

}  // namespace standin
