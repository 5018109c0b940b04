#include "profile/profile_encoding.h"

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
    for (size_t i = 0; i < pairs; ++i) {
      unsigned low = static_cast<unsigned char>(bytes[2 + 2 * i]);
      unsigned high = static_cast<unsigned char>(bytes[3 + 2 * i]);
      file.units[i] = static_cast<WCHAR>(low | (high << 8));
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
    bytes.reserve(2 + 2 * file.units.size() + file.strayByte.size());
    bytes.append(kUtf16LeMark, 2);
    for (WCHAR unit : file.units) {
      bytes += static_cast<char>(unit & 0xFF);
      bytes += static_cast<char>((unit >> 8) & 0xFF);
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
