#include "registry/value_copy.h"

#include <cstring>

namespace standin {

namespace {

WCHAR UnitAt(const BYTE *bytes, size_t index) {
  return static_cast<WCHAR>(bytes[2 * index] | (bytes[2 * index + 1] << 8));
}

}  // namespace

bool IsStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

void CopyValueData(DWORD type, const std::string &data, BYTE *buffer, DWORD room) {
  if (!data.empty()) memcpy(buffer, data.data(), data.size());
  size_t size = data.size();
  if (!IsStringType(type) || size < 2 || size + 2 > room) return;
  if (static_cast<unsigned char>(data[size - 2]) == 0 &&
      static_cast<unsigned char>(data[size - 1]) == 0)
    return;
  buffer[size] = 0;
  buffer[size + 1] = 0;
}

std::string DataToStore(DWORD type, const BYTE *data, DWORD count) {
  if (data == nullptr) return std::string();
  if (IsStringType(type) && count >= 2) {
    size_t last = count / 2 - 1;
    if (UnitAt(data, last) != 0 && UnitAt(data, last + 1) == 0) count += 2;
  }
  return std::string(reinterpret_cast<const char *>(data), count);
}

}  // namespace standin
