// A private store file per test and ways to look into it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/test_support.h"

class StoreTest : public testing::Test {
 protected:
  StoreTest();

  // The store's path, as the stand-in finds it through ADDBAR_REGISTRY.
  const WString &StorePath() const { return m_path; }
  // The store's text (UTF-8, without the byte-order mark) and its lines.
  std::string StoreText() const;
  std::vector<std::string> StoreLines() const;
  // Writes a store by hand: UTF-8 text, stored as UTF-16LE with a BOM.
  void WriteStore(const std::string &text);

  // HKEY_CURRENT_USER\Software\t, created for the test.
  HKEY OpenTestKey();

  testing_support::TempDir m_folder;
  WString m_path;
  testing_support::ScopedEnvironment m_environment;
};

// The store's bytes in a file of another name, which ADDBAR_REGISTRY names
// while the object lives: what the calls read from it is read afresh, with
// nothing remembered of the store they wrote.
class StoreCopy {
 public:
  explicit StoreCopy(const std::string &bytes);

 private:
  testing_support::TempDir m_folder;
  testing_support::ScopedEnvironment m_environment;
};

// A DWORD value, as the tests set them.
LONG SetNumber(HKEY key, const WString &name, DWORD number);

// Splits at CRLF; a lone LF stays inside its line.
std::vector<std::string> SplitCrLf(const std::string &text);
// UTF-16LE bytes after a BOM, as UTF-8.
std::string DecodeStore(const std::string &bytes);
