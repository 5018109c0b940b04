#include "registry_fixture.h"

#include "support/program_clock.h"

void RegistryTest::SetUp() {
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, m_registry.BasePath().c_str(), 0,
                                           nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_base, nullptr));
}

void RegistryTest::TearDown() {
  CloseAll();
  if (m_base != nullptr) RegCloseKey(m_base);
}

HKEY RegistryTest::Create(const WString &subKey, REGSAM access) {
  HKEY key = nullptr;
  LONG status =
      RegCreateKeyExW(m_base, subKey.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr);
  EXPECT_EQ(ERROR_SUCCESS, status) << testing_support::Narrow(subKey);
  if (key != nullptr) m_opened.push_back(key);
  return key;
}

HKEY RegistryTest::Open(const WString &subKey, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(m_base, subKey.c_str(), 0, access, &key) != ERROR_SUCCESS) return nullptr;
  m_opened.push_back(key);
  return key;
}

void RegistryTest::CloseAll() {
  for (HKEY key : m_opened) RegCloseKey(key);
  m_opened.clear();
}

LONG RegistryTest::SetString(HKEY key, const WString &name, const WString &text) {
  return RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
}

LONG RegistryTest::SetDword(HKEY key, LPCWSTR name, DWORD number) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number),
                        sizeof number);
}

RegistryTest::ReadValue RegistryTest::Read(HKEY key, LPCWSTR name) {
  ReadValue value{ERROR_SUCCESS, 0, std::string()};
  DWORD size = 0;
  value.status = RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size);
  if (value.status != ERROR_SUCCESS) return value;
  // One byte more than needed, so that the data pointer is never null.
  value.bytes.resize(size + 1);
  value.status = RegQueryValueExW(key, name, nullptr, &value.type,
                                  reinterpret_cast<BYTE *>(&value.bytes[0]), &size);
  value.bytes.resize(size);
  return value;
}

uint64_t RegistryTest::LastWrite(HKEY key) {
  FILETIME time = {};
  EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, &time));
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

DWORD RegistryTest::SubKeyCount(HKEY key) {
  DWORD count = 0xDEAD;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
  return count;
}

DWORD RegistryTest::ValueCount(HKEY key) {
  DWORD count = 0xDEAD;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, &count, nullptr, nullptr, nullptr, nullptr));
  return count;
}

std::string TextBytes(const WString &text) {
  return std::string(reinterpret_cast<const char *>(text.data()), text.size() * sizeof(WCHAR));
}

void WaitForTheClockToPass(uint64_t stamp) {
  // Windows moves the system time on every timer tick, about 16 ms.
  while (testing_support::SystemTimeTicks() <= stamp) Sleep(1);
}
