#include "profile/profile_encoding.h"

#include <cstring>

namespace standin {
namespace profile {

namespace {
const char kUtf16LeMark[] = "\xFF\xFE";
}  // namespace

FileUnits SplitFile(const std::string &bytes) {
  FileUnits file;
  if (bytes.size() >= 2 && bytes.compare(0, 2, kUtf16LeMark, 2) == 0) {
    file.encoding = TextEncoding::Utf16Le;
    size_t pairs = (bytes.size() - 2) / 2;
    file.units.resize(pairs);
    if (kUnitsAreLittleEndian) {
      std::memcpy(&file.units[0], bytes.data() + 2, pairs * sizeof(WCHAR));
    } else {
      for (size_t i = 0; i < pairs; ++i) {
        unsigned low = static_cast<unsigned char>(bytes[2 + 2 * i]);
        unsigned high = static_cast<unsigned char>(bytes[3 + 2 * i]);
        file.units[i] = static_cast<WCHAR>(low | (high << 8));
      }
    }
    if ((bytes.size() - 2) % 2 != 0) file.strayByte = bytes.substr(bytes.size() - 1);
    return file;
  }
  file.units.resize(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    file.units[i] = static_cast<WCHAR>(static_cast<unsigned char>(bytes[i]));
  }
  return file;
}

std::string JoinFile(const FileUnits &file) {
  std::string bytes;
  if (file.encoding == TextEncoding::Utf16Le) {
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
  bytes.resize(file.units.size());
  for (size_t i = 0; i < file.units.size(); ++i) bytes[i] = static_cast<char>(file.units[i]);
  return bytes;
}

WString DecodeUnits(TextEncoding encoding, WStringView units) {
  if (encoding == TextEncoding::Utf16Le) return WString(units);
  bool ascii = true;
  for (WCHAR unit : units) ascii = ascii && unit < 0x80;
  if (ascii) return WString(units);
  std::string bytes(units.size(), '\0');
  for (size_t i = 0; i < units.size(); ++i) bytes[i] = static_cast<char>(units[i]);
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

}  // namespace profile
}  // namespace standin
