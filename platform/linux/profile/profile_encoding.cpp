#include "profile/profile_encoding.h"

#include <string_view>
#include <utility>

namespace standin {
namespace profile {

namespace {
const char kUtf16LeMark[] = "\xFF\xFE";
}  // namespace

FileUnits SplitFile(std::string bytes) {
  FileUnits file;
  if (bytes.size() >= 2 && bytes.compare(0, 2, kUtf16LeMark, 2) == 0) {
    file.encoding = TextEncoding::Utf16Le;
    size_t pairs = (bytes.size() - 2) / 2;
    if (kUnitsAreLittleEndian) {
      // Copied as they lie (a memcpy), without filling the units first.
      file.units.assign(reinterpret_cast<const WCHAR *>(bytes.data() + 2), pairs);
    } else {
      file.units.resize(pairs);
      for (size_t i = 0; i < pairs; ++i) {
        unsigned low = static_cast<unsigned char>(bytes[2 + 2 * i]);
        unsigned high = static_cast<unsigned char>(bytes[3 + 2 * i]);
        file.units[i] = static_cast<WCHAR>(low | (high << 8));
      }
    }
    if ((bytes.size() - 2) % 2 != 0) file.strayByte = bytes.substr(bytes.size() - 1);
    return file;
  }
  file.bytes = std::move(bytes);
  return file;
}

std::string JoinFile(const FileUnits &file) {
  if (file.encoding == TextEncoding::EightBit) return file.bytes;
  std::string bytes;
  bytes.resize(2 + 2 * file.units.size());
  bytes[0] = kUtf16LeMark[0];
  bytes[1] = kUtf16LeMark[1];
  for (size_t i = 0; i < file.units.size(); ++i) {
    bytes[2 + 2 * i] = static_cast<char>(file.units[i] & 0xFF);
    bytes[3 + 2 * i] = static_cast<char>((file.units[i] >> 8) & 0xFF);
  }
  bytes += file.strayByte;
  return bytes;
}

WString DecodeUnits(const FileUnits &file, size_t at, size_t length) {
  if (file.encoding == TextEncoding::Utf16Le) return file.units.substr(at, length);
  const std::string_view bytes = std::string_view(file.bytes).substr(at, length);
  bool ascii = true;
  for (char byte : bytes) ascii = ascii && static_cast<unsigned char>(byte) < 0x80;
  if (ascii) return WString(bytes.begin(), bytes.end());
  return FromUtf8(bytes);
}

WString EncodeText(TextEncoding encoding, WStringView text) {
  if (encoding == TextEncoding::Utf16Le) return WString(text);
  std::string bytes = ToUtf8(text);
  WString units(bytes.size(), 0);
  for (size_t i = 0; i < bytes.size(); ++i) {
    units[i] = static_cast<WCHAR>(static_cast<unsigned char>(bytes[i]));
  }
  return units;
}

void ReplaceUnits(FileUnits &file, size_t at, size_t length, const WString &units) {
  if (file.encoding == TextEncoding::Utf16Le) {
    file.units.replace(at, length, units);
    return;
  }
  // One byte per unit, each below 256.
  file.bytes.replace(at, length, std::string(units.begin(), units.end()));
}

bool UnitsAre(const FileUnits &file, size_t at, size_t length, WStringView units) {
  if (length != units.size()) return false;
  for (size_t i = 0; i < length; ++i) {
    if (file.At(at + i) != units[i]) return false;
  }
  return true;
}

void AppendUnits(const FileUnits &file, size_t at, size_t length, WString &out) {
  if (file.encoding == TextEncoding::Utf16Le) {
    out.append(file.units, at, length);
    return;
  }
  for (size_t i = 0; i < length; ++i) out += file.At(at + i);
}

}  // namespace profile
}  // namespace standin
