#include "common/line_scan.h"

#include <cstdint>
#include <cstring>

namespace standin {

namespace {

// Whether one of the lanes in `word` (four of 16 bits, or eight of 8) may be
// below 14 ('\r' is 13): set for every such lane, now and then for a lane
// after one, never for none (the classic test for a small lane).
template <typename Unit>
bool MayHoldControl(uint64_t word) {
  const uint64_t ones = sizeof(Unit) == 2 ? 0x0001000100010001ull : 0x0101010101010101ull;
  const uint64_t tops = ones << (8 * sizeof(Unit) - 1);
  return ((word - 14 * ones) & ~word & tops) != 0;
}

// The first unit in [at, size) that `wanted` holds for, where only units
// below 14 are ever wanted: eight bytes at a time while none of them can be,
// which in text is nearly always.
template <typename Unit, typename Wanted>
size_t FindControl(const Unit *units, size_t at, size_t size, Wanted wanted) {
  constexpr size_t kPerWord = sizeof(uint64_t) / sizeof(Unit);
  for (;;) {
    while (at + kPerWord <= size) {
      uint64_t word;
      std::memcpy(&word, units + at, sizeof word);
      if (MayHoldControl<Unit>(word)) break;
      at += kPerWord;
    }
    const size_t stop = at + kPerWord < size ? at + kPerWord : size;
    for (; at < stop; ++at) {
      if (wanted(units[at])) return at;
    }
    if (at == size) return size;
  }
}

bool IsCrOrLf(unsigned unit) { return unit == '\r' || unit == '\n'; }

}  // namespace

size_t FindLineBreak(const WCHAR *units, size_t at, size_t size) {
  return FindControl(units, at, size, IsCrOrLf);
}

size_t FindLineBreak(const unsigned char *units, size_t at, size_t size) {
  return FindControl(units, at, size, IsCrOrLf);
}

size_t FindLineFeedUtf16Le(const char *bytes, size_t at, size_t size) {
  auto unitAt = [&](size_t i) {
    return static_cast<unsigned>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  };
  for (;;) {
    // Four units at a time where a word of memory holds them in order.
    if (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) {
      while (at + 4 <= size) {
        uint64_t word;
        std::memcpy(&word, bytes + 2 * at, sizeof word);
        if (MayHoldControl<WCHAR>(word)) break;
        at += 4;
      }
    }
    const size_t stop = at + 4 < size ? at + 4 : size;
    for (; at < stop; ++at) {
      if (unitAt(at) == '\n') return at;
    }
    if (at == size) return size;
  }
}

}  // namespace standin
