// How the replay spells what it saw: plain ASCII, so that the dumps of the
// two builds compare byte for byte whatever the texts hold.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace replay {

using WString = std::basic_string<WCHAR>;

// Texts longer than this many units (or bytes) are shown by their start, their
// length and a hash.
const size_t kShownLength = 64;

// Printable ASCII stays, `\` and `"` get a backslash, every other unit is
// \uXXXX (so a null unit or a surrogate half is visible).
std::string EscapeUnits(const WCHAR *units, size_t count);
inline std::string EscapeUnits(const WString &text) {
  return EscapeUnits(text.data(), text.size());
}
// 8-bit text: bytes from 0x80 on and controls are \xNN.
std::string EscapeBytes(const std::string &bytes);

// The text in quotes; a long one as its start, then +<length> and a hash.
std::string Quoted(const WString &text);
std::string QuotedBytes(const std::string &bytes);

// Two lower-case hex digits per byte, no separator; long data summarised.
std::string HexBytes(const BYTE *data, size_t size);

// FNV-1a over the bytes, for telling long texts apart.
uint32_t Fnv1a(const void *data, size_t size);

// Decimal, for the dump (no locale, no streams).
std::string Number(uint64_t value);
std::string SignedNumber(int64_t value);

}  // namespace replay
