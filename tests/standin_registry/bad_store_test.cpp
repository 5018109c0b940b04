// A store that does not parse is never written: every call fails with
// ERROR_BADDB and one line on standard error says where the file went wrong.
#include <algorithm>
#include <string>

#include "store_test_support.h"

using testing_support::Narrow;
using testing_support::Utf16File;
using testing_support::Wide;

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00\r\n\r\n";

struct BadStore {
  const char *label;
  std::string bytes;
  int line;  // the line the message names
};

std::string Utf16(const std::string &text) { return Utf16File(Wide(text)); }

// A store holding one key `depth` levels below the current user's hive.
std::string NestedStore(int depth) {
  std::string path = "HKEY_CURRENT_USER";
  for (int level = 0; level < depth; ++level) path += "\\k";
  return Utf16(std::string(kHeader) + "[" + path + "]\r\n");
}

std::string StoreWithValueName(size_t length) {
  return Utf16(std::string(kHeader) + "[HKEY_CURRENT_USER\\a]\r\n\"" + std::string(length, 'v') +
               "\"=dword:1\r\n");
}

class BadStores : public StoreTest, public testing::WithParamInterface<BadStore> {};

TEST_P(BadStores, AreLeftUntouchedAndEveryCallFails) {
  testing_support::WriteBytes(StorePath(), GetParam().bytes);
  testing::internal::CaptureStderr();

  HKEY key = nullptr;
  EXPECT_EQ(ERROR_BADDB, RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("Software\\new"), 0, nullptr, 0,
                                         KEY_ALL_ACCESS, nullptr, &key, nullptr));
  EXPECT_EQ(nullptr, key);
  EXPECT_EQ(ERROR_BADDB, RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software"), 0, KEY_READ, &key));
  DWORD number = 1, size = 4;
  EXPECT_EQ(ERROR_BADDB, RegSetValueExW(HKEY_CURRENT_USER, TEXT("v"), 0, REG_DWORD,
                                        reinterpret_cast<BYTE *>(&number), 4));
  EXPECT_EQ(ERROR_BADDB,
            RegQueryValueExW(HKEY_CURRENT_USER, TEXT("v"), nullptr, nullptr, nullptr, &size));
  WCHAR name[8];
  DWORD length = 8;
  EXPECT_EQ(ERROR_BADDB,
            RegEnumKeyExW(HKEY_CURRENT_USER, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_BADDB, RegDeleteTreeW(HKEY_CURRENT_USER, TEXT("Software")));

  std::string messages = testing::internal::GetCapturedStderr();
  EXPECT_EQ(GetParam().bytes, testing_support::ReadBytes(StorePath()));
  EXPECT_EQ(1, std::count(messages.begin(), messages.end(), '\n')) << messages;
  EXPECT_NE(std::string::npos, messages.find(Narrow(StorePath()))) << messages;
  EXPECT_NE(std::string::npos, messages.find("line " + std::to_string(GetParam().line) + ":"))
      << messages;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadStores,
    testing::Values(
        BadStore{"utf8_without_mark", std::string(kHeader), 1},
        BadStore{"other_header", Utf16("REGEDIT4\r\n\r\n"), 1},
        BadStore{"truncated_unit", Utf16(kHeader) + std::string("[", 1), 3},
        BadStore{"cut_off_continuation",
                 Utf16(std::string(kHeader) + "[HKEY_CURRENT_USER\\a]\r\n\"x\"=hex:01,\\\r\n"), 4},
        BadStore{"value_before_key", Utf16(std::string(kHeader) + "\"x\"=\"y\"\r\n"), 3},
        BadStore{"unknown_hive", Utf16(std::string(kHeader) + "[HKEY_NOWHERE\\a]\r\n"), 3},
        BadStore{"key_deletion", Utf16(std::string(kHeader) + "[-HKEY_CURRENT_USER\\a]\r\n"), 3},
        BadStore{"value_deletion",
                 Utf16(std::string(kHeader) + "[HKEY_CURRENT_USER\\a]\r\n\"x\"=-\r\n"), 4},
        BadStore{"unclosed_key_line", Utf16(std::string(kHeader) + "[HKEY_CURRENT_USER\\a\r\n"), 3},
        BadStore{"unknown_escape",
                 Utf16(std::string(kHeader) + "[HKEY_CURRENT_USER\\a]\r\n\"x\"=\"\\q\"\r\n"), 4},
        BadStore{"bad_hex",
                 Utf16(std::string(kHeader) + "[HKEY_CURRENT_USER\\a]\r\n\"x\"=hex:0g\r\n"), 4},
        BadStore{"stray_text", Utf16(std::string(kHeader) + "[HKEY_CURRENT_USER\\a]\r\nx\r\n"), 4},
        BadStore{"empty_key_name", Utf16(std::string(kHeader) + "[HKEY_CURRENT_USER\\a\\\\b]\r\n"),
                 3},
        // Windows' limits: beyond them a store is not read, however it was made.
        BadStore{"nested_deeper_than_512", NestedStore(513), 3},
        BadStore{
            "key_name_of_257_units",
            Utf16(std::string(kHeader) + "[HKEY_CURRENT_USER\\" + std::string(257, 'n') + "]\r\n"),
            3},
        BadStore{"value_name_of_16384_units", StoreWithValueName(16384), 4}),
    [](const testing::TestParamInfo<BadStore> &info) { return std::string(info.param.label); });

TEST_F(StoreTest, AnEmptyFileIsAnEmptyRegistry) {
  testing_support::WriteBytes(StorePath(), std::string());
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software"), 0, KEY_READ, &key));
  key = OpenTestKey();
  EXPECT_NE(nullptr, key);
  EXPECT_EQ(0u, StoreText().find("Windows Registry Editor Version 5.00"));
  RegCloseKey(key);
}

TEST_F(StoreTest, AMendedStoreIsReadAgain) {
  WriteStore("not a registry");
  testing::internal::CaptureStderr();
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_BADDB, RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software"), 0, KEY_READ, &key));
  testing::internal::GetCapturedStderr();
  WriteStore("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n");
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software"), 0, KEY_READ, &key));
  RegCloseKey(key);
}

}  // namespace
