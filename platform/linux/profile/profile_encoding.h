// The two kinds of profile file: UTF-16LE when the file starts with its
// byte-order mark, 8-bit text otherwise. On this host 8-bit text is read as
// UTF-8, but its bytes are kept as they are, so a write re-encodes nothing
// it does not change.
#pragma once

#include <windows.h>

#include <string>

#include "common/unicode.h"

namespace standin {
namespace profile {

enum class TextEncoding { EightBit, Utf16Le };

// A file's contents as code units of its encoding: one unit per byte for
// 8-bit text (0-255, whatever they mean), the UTF-16 units after the mark
// otherwise. Parsing and editing work on these units, so any byte a write
// does not touch goes back out unchanged. 8-bit text stays in its bytes, so
// that a large file takes no more memory than its size and is written as it
// lies.
struct FileUnits {
  TextEncoding encoding = TextEncoding::EightBit;
  WString units;      // UTF-16
  std::string bytes;  // 8-bit
  // A UTF-16 file of odd length: its last byte, which is no whole unit. It
  // stays the file's last byte through every edit.
  std::string strayByte;

  size_t Size() const { return encoding == TextEncoding::Utf16Le ? units.size() : bytes.size(); }
  WCHAR At(size_t index) const {
    return encoding == TextEncoding::Utf16Le
               ? units[index]
               : static_cast<WCHAR>(static_cast<unsigned char>(bytes[index]));
  }
};

// Whether a WCHAR in memory is laid out as UTF-16LE, so that a UTF-16 file's
// units can be read and written as they are.
constexpr bool kUnitsAreLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

// Takes the file's bytes over.
FileUnits SplitFile(std::string bytes);
std::string JoinFile(const FileUnits &file);

// Units [at, at + length) of the file -> text for the caller (8-bit: UTF-8,
// each byte that is not UTF-8 becomes U+FFFD).
WString DecodeUnits(const FileUnits &file, size_t at, size_t length);
// Text of the caller -> units of the file (8-bit: UTF-8 bytes, a unit each;
// an unpaired surrogate, which UTF-8 can't spell, becomes U+FFFD).
WString EncodeText(TextEncoding encoding, WStringView text);

// Units [at, at + length) replaced by `units` (units of the file's encoding).
void ReplaceUnits(FileUnits &file, size_t at, size_t length, const WString &units);
// Whether units [at, at + length) are `units`.
bool UnitsAre(const FileUnits &file, size_t at, size_t length, WStringView units);
// Appends units [at, at + length) to `out`, a unit each.
void AppendUnits(const FileUnits &file, size_t at, size_t length, WString &out);

}  // namespace profile
}  // namespace standin
