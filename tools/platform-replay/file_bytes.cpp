#include "file_bytes.h"

namespace replay {

bool ReadFileBytes(LPCWSTR path, std::string &bytes) {
  bytes.clear();
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char chunk[65536];
  DWORD got = 0;
  bool ok;
  while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != FALSE) && got != 0) {
    bytes.append(chunk, got);
  }
  CloseHandle(file);
  return ok;
}

bool WriteFileBytes(LPCWSTR path, const std::string &bytes) {
  HANDLE file =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr) != FALSE &&
                              written == bytes.size());
  return CloseHandle(file) != FALSE && ok;
}

}  // namespace replay
