// Helpers for the profile-file tests: a scratch INI file per test and readers
// that turn the calls' buffers into plain strings.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace profile_test {

// What the readers return for an entry the call did not find: a default no
// test file ever holds.
extern const char kMissing[];

// A test with one INI file in a folder of its own.
class ProfileFileTest : public testing::Test {
 protected:
  ProfileFileTest() : m_path(m_folder.File("test.ini")) {}

  LPCWSTR Path() const { return m_path.c_str(); }
  const WString &PathText() const { return m_path; }
  const testing_support::TempDir &Folder() const { return m_folder; }
  void Store(const std::string &bytes) const { testing_support::WriteBytes(m_path, bytes); }
  std::string Stored() const { return testing_support::ReadBytes(m_path); }

 private:
  testing_support::TempDir m_folder;
  WString m_path;
};

// GetPrivateProfileStringW with kMissing as default, as UTF-8. A null section
// or key passes null.
std::string ReadValue(const WString &file, const char *section, const char *key);

// A list call's result: what it returned and the buffer it filled, cut to
// the size passed (the call may write no further).
struct ListResult {
  DWORD returned;
  std::vector<WCHAR> buffer;
};

// The strings of a list buffer up to the first empty one, as UTF-8.
std::vector<std::string> ListStrings(const ListResult &result);

ListResult SectionNames(const WString &file, DWORD size);
ListResult SectionLines(const WString &file, const char *section, DWORD size);
ListResult KeyNames(const WString &file, const char *section, DWORD size);

// The units of `buffer` from 0 to `count` as UTF-8, nulls shown as "|".
std::string Units(const std::vector<WCHAR> &buffer, size_t count);

// UTF-16LE bytes of UTF-8 `text`, with or without the byte-order mark.
std::string Utf16Bytes(const std::string &text, bool withMark = true);

}  // namespace profile_test
