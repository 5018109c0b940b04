#include "profile/profile_numbers.h"

#include <vector>

namespace standin {
namespace profile {

UINT ParseProfileInt(WStringView text) {
  size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  uint32_t value = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    value = value * 10u + static_cast<uint32_t>(text[at++] - '0');
  }
  return negative ? 0u - value : value;
}

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

int HexValue(WCHAR unit) {
  if (unit >= '0' && unit <= '9') return unit - '0';
  if (unit >= 'A' && unit <= 'F') return unit - 'A' + 10;
  if (unit >= 'a' && unit <= 'f') return unit - 'a' + 10;
  return -1;
}

}  // namespace

WString EncodeStruct(const BYTE *data, UINT size) {
  WString text;
  text.reserve(2 * (static_cast<size_t>(size) + 1));
  unsigned sum = 0;
  for (UINT i = 0; i < size; ++i) {
    text += static_cast<WCHAR>(kHexDigits[data[i] >> 4]);
    text += static_cast<WCHAR>(kHexDigits[data[i] & 0xF]);
    sum += data[i];
  }
  text += static_cast<WCHAR>(kHexDigits[(sum >> 4) & 0xF]);
  text += static_cast<WCHAR>(kHexDigits[sum & 0xF]);
  return text;
}

DWORD DecodeStruct(WStringView text, BYTE *data, UINT size) {
  if (text.size() != 2 * (static_cast<size_t>(size) + 1)) return ERROR_BAD_LENGTH;
  std::vector<BYTE> bytes(static_cast<size_t>(size) + 1);
  for (size_t i = 0; i < bytes.size(); ++i) {
    int high = HexValue(text[2 * i]), low = HexValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return ERROR_INVALID_DATA;
    bytes[i] = static_cast<BYTE>(high << 4 | low);
  }
  unsigned sum = 0;
  for (UINT i = 0; i < size; ++i) sum += bytes[i];
  if (static_cast<BYTE>(sum) != bytes[size]) return ERROR_INVALID_DATA;
  for (UINT i = 0; i < size; ++i) data[i] = bytes[i];
  return ERROR_SUCCESS;
}

}  // namespace profile
}  // namespace standin
