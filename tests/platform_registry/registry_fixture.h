// A key of its own for each registry test, and short ways to use it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/test_support.h"

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates (or opens) a key below the test's key; fails the test on error.
  HKEY Create(const WString &subKey, REGSAM access = KEY_ALL_ACCESS);
  // Opens a key below the test's key; null when that fails.
  HKEY Open(const WString &subKey, REGSAM access = KEY_ALL_ACCESS);
  // Closes every key the two helpers above gave out.
  void CloseAll();

  LONG SetString(HKEY key, const WString &name, const WString &text);
  LONG SetDword(HKEY key, LPCWSTR name, DWORD number);
  LONG SetDword(HKEY key, const WString &name, DWORD number) {
    return SetDword(key, name.c_str(), number);
  }
  // The value's type and bytes, read with a buffer of exactly its size.
  struct ReadValue {
    LONG status;
    DWORD type;
    std::string bytes;
  };
  ReadValue Read(HKEY key, LPCWSTR name);

  uint64_t LastWrite(HKEY key);
  DWORD SubKeyCount(HKEY key);
  DWORD ValueCount(HKEY key);

  testing_support::ScopedRegistry m_registry;
  HKEY m_base = nullptr;

 private:
  std::vector<HKEY> m_opened;
};

// Bytes of UTF-16 text, without a terminator unless the text has one.
std::string TextBytes(const WString &text);
// Waits until the system clock behind key times has moved past `stamp`, so
// that a change made afterwards gets a later time.
void WaitForTheClockToPass(uint64_t stamp);
