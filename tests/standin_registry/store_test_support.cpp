#include "store_test_support.h"

using testing_support::Narrow;
using testing_support::Wide;

StoreTest::StoreTest()
    : m_path(m_folder.File("registry.reg")),
      m_environment("ADDBAR_REGISTRY", Narrow(m_path).c_str()) {}

StoreCopy::StoreCopy(const std::string &bytes)
    : m_environment("ADDBAR_REGISTRY", Narrow(m_folder.File("copy.reg")).c_str()) {
  testing_support::WriteBytes(m_folder.File("copy.reg"), bytes);
}

LONG SetNumber(HKEY key, const WString &name, DWORD number) {
  return RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE *>(&number), 4);
}

std::string DecodeStore(const std::string &bytes) {
  WString units;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2)
    units += static_cast<WCHAR>(static_cast<unsigned char>(bytes[i]) |
                                (static_cast<unsigned char>(bytes[i + 1]) << 8));
  return Narrow(units);
}

std::string StoreTest::StoreText() const { return DecodeStore(testing_support::ReadBytes(m_path)); }

std::vector<std::string> SplitCrLf(const std::string &text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> StoreTest::StoreLines() const { return SplitCrLf(StoreText()); }

void StoreTest::WriteStore(const std::string &text) {
  testing_support::WriteBytes(m_path, testing_support::Utf16File(Wide(text)));
}

HKEY StoreTest::OpenTestKey() {
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t"), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &key, nullptr));
  return key;
}
