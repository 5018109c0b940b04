#include "common/line_scan.h"

#include <cstdint>
#include <cstring>

namespace standin {

namespace {

// Whether one of the four units in `word` may be below 14 ('\r' is 13): set
// for every such unit, now and then for a unit after one, never for none
// (the classic test for a small lane, on 16-bit lanes).
bool MayHoldControl(uint64_t word) {
  const uint64_t ones = 0x0001000100010001ull, tops = 0x8000800080008000ull;
  return ((word - 14 * ones) & ~word & tops) != 0;
}

// The first unit in [at, size) that `wanted` holds for, where only units
// below 14 are ever wanted: four units at a time while none of them can be,
// which in text is nearly always.
template <typename Wanted>
size_t FindControl(const WCHAR *units, size_t at, size_t size, Wanted wanted) {
  for (;;) {
    while (at + 4 <= size) {
      uint64_t word;
      std::memcpy(&word, units + at, sizeof word);
      if (MayHoldControl(word)) break;
      at += 4;
    }
    const size_t stop = at + 4 < size ? at + 4 : size;
    for (; at < stop; ++at) {
      if (wanted(units[at])) return at;
    }
    if (at == size) return size;
  }
}

}  // namespace

size_t FindLineBreak(const WCHAR *units, size_t at, size_t size) {
  return FindControl(units, at, size, [](WCHAR unit) { return unit == '\r' || unit == '\n'; });
}

size_t FindLineFeed(const WCHAR *units, size_t at, size_t size) {
  return FindControl(units, at, size, [](WCHAR unit) { return unit == '\n'; });
}

}  // namespace standin
