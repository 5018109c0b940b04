#include "profile/profile_encoding.h"

#include <cstring>

namespace standin {
namespace profile {

namespace {

const char kUtf16LeMark[] = "\xFF\xFE";

constexpr size_t kWidenBlock = 256;

// One block of bytes as units. A loop of fixed length over pointers that
// can't overlap, which the compiler turns into vector code.
void WidenBlock(WCHAR *__restrict units, const unsigned char *__restrict bytes) {
  for (size_t i = 0; i < kWidenBlock; ++i) units[i] = bytes[i];
}

}  // namespace

FileUnits SplitFile(const std::string &bytes) {
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
  // One unit per byte, each byte taken as unsigned: widened a block at a
  // time into a small buffer and appended, so the units are not filled first.
  const unsigned char *bytesAt = reinterpret_cast<const unsigned char *>(bytes.data());
  const size_t size = bytes.size();
  file.units.reserve(size);
  WCHAR block[kWidenBlock];
  size_t at = 0;
  for (; at + kWidenBlock <= size; at += kWidenBlock) {
    WidenBlock(block, bytesAt + at);
    file.units.append(block, kWidenBlock);
  }
  for (; at < size; ++at) file.units.push_back(bytesAt[at]);
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
