#include <windows.h>

#include <fstream>

#include "bench_support.h"

namespace bench {

namespace {
std::wstring Wide(const std::string &text) {
  return std::wstring(text.begin(), text.end());  // the paths here are ASCII
}
}  // namespace

bool CopyStore(const std::string &from, const std::string &to) {
  return CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE) != 0;
}

void UseRegistryStore(const std::string &) {}

size_t ReadOnce(const std::string &path) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  static char chunk[1 << 16];
  size_t total = 0;
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) total += got;
  CloseHandle(file);
  return total;
}

bool DurableRewrite(const std::string &target, const std::string &bytes) {
  const std::wstring temporary = Wide(target + ".new");
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size() && FlushFileBuffers(file);
  ok = CloseHandle(file) && ok;
  return ok && MoveFileExW(temporary.c_str(), Wide(target).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

}  // namespace bench
