#include "dump_text.h"

namespace replay {

namespace {

const char kHexDigits[] = "0123456789abcdef";

std::string HexUnit(unsigned value, int digits) {
  std::string text;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
    text += kHexDigits[(value >> shift) & 0xF];
  return text;
}

// The summary that follows a cut text: how long it was and what it held.
std::string LengthAndHash(size_t length, const char *unit, uint32_t hash) {
  return "...+" + Number(length) + " " + unit + " fnv1a=" + HexUnit(hash, 8);
}

}  // namespace

std::string EscapeUnits(const WCHAR *units, size_t count) {
  std::string text;
  text.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    unsigned unit = static_cast<unsigned>(units[i]) & 0xFFFF;
    if (unit == '\\' || unit == '"') {
      text += '\\';
      text += static_cast<char>(unit);
    } else if (unit >= 0x20 && unit < 0x7F) {
      text += static_cast<char>(unit);
    } else {
      text += "\\u" + HexUnit(unit, 4);
    }
  }
  return text;
}

std::string EscapeBytes(const std::string &bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (char byte : bytes) {
    unsigned value = static_cast<unsigned char>(byte);
    if (value == '\\' || value == '"') {
      text += '\\';
      text += byte;
    } else if (value >= 0x20 && value < 0x7F) {
      text += byte;
    } else {
      text += "\\x" + HexUnit(value, 2);
    }
  }
  return text;
}

std::string Quoted(const WString &text) {
  if (text.size() <= kShownLength) return '"' + EscapeUnits(text) + '"';
  return '"' + EscapeUnits(text.data(), kShownLength) + '"' +
         LengthAndHash(text.size(), "units", Fnv1a(text.data(), text.size() * sizeof(WCHAR)));
}

std::string QuotedBytes(const std::string &bytes) {
  if (bytes.size() <= kShownLength) return '"' + EscapeBytes(bytes) + '"';
  return '"' + EscapeBytes(bytes.substr(0, kShownLength)) + '"' +
         LengthAndHash(bytes.size(), "bytes", Fnv1a(bytes.data(), bytes.size()));
}

std::string HexBytes(const BYTE *data, size_t size) {
  std::string text;
  size_t shown = size <= kShownLength ? size : kShownLength;
  for (size_t i = 0; i < shown; ++i) text += HexUnit(data[i], 2);
  if (shown < size) text += LengthAndHash(size, "bytes", Fnv1a(data, size));
  return text;
}

uint32_t Fnv1a(const void *data, size_t size) {
  const unsigned char *bytes = static_cast<const unsigned char *>(data);
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < size; ++i) {
    hash ^= bytes[i];
    hash *= 16777619u;
  }
  return hash;
}

std::string Number(uint64_t value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

std::string SignedNumber(int64_t value) {
  if (value >= 0) return Number(static_cast<uint64_t>(value));
  return "-" + Number(0 - static_cast<uint64_t>(value));
}

}  // namespace replay
