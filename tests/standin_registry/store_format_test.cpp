// The store file's text: what each value type becomes, escapes, long hex
// lines, key order, and what hand-written files the store reads.
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <initializer_list>

#include "store_test_support.h"

using testing_support::Narrow;
using testing_support::Wide;

namespace {

std::string Bytes(std::initializer_list<unsigned> list) {
  std::string bytes;
  for (unsigned b : list) bytes += static_cast<char>(b);
  return bytes;
}

std::string Text16(const std::string &ascii, bool terminated) {
  std::string bytes;
  for (char c : ascii) bytes += std::string{c, '\0'};
  if (terminated) bytes += std::string(2, '\0');
  return bytes;
}

struct StoredValue {
  const char *label;
  DWORD type;
  std::string bytes;
  const char *line;  // the value's line in the store
};

class ValueLines : public StoreTest, public testing::WithParamInterface<StoredValue> {
 protected:
  void SetValue(HKEY key) {
    const StoredValue &value = GetParam();
    // A unit that is not null after the data, so that Windows' habit of
    // counting a terminator the caller left out does not apply.
    std::string buffer = value.bytes + "\x01\x01";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, TEXT("v"), 0, value.type,
                                            reinterpret_cast<const BYTE *>(buffer.data()),
                                            static_cast<DWORD>(value.bytes.size())));
  }
};

TEST_P(ValueLines, EachTypeIsWrittenAsAnExportWritesIt) {
  HKEY key = OpenTestKey();
  SetValue(key);
  std::vector<std::string> lines = StoreLines();
  EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), GetParam().line)) << StoreText();
  RegCloseKey(key);
}

TEST_P(ValueLines, ReadsBackTheSameBytesFromTheFile) {
  HKEY key = OpenTestKey();
  SetValue(key);
  RegCloseKey(key);
  StoreCopy copy(testing_support::ReadBytes(StorePath()));
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t"), 0, KEY_READ, &key));
  BYTE data[64];
  DWORD type = 0, size = sizeof data;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, TEXT("v"), nullptr, &type, data, &size));
  EXPECT_EQ(GetParam().type, type);
  EXPECT_EQ(GetParam().bytes, std::string(reinterpret_cast<char *>(data), size));
  RegCloseKey(key);
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, ValueLines,
    testing::Values(
        StoredValue{"sz", REG_SZ, Text16("say \"hi\" C:\\x", true),
                    "\"v\"=\"say \\\"hi\\\" C:\\\\x\""},
        StoredValue{"empty_sz", REG_SZ, Text16("", true), "\"v\"=\"\""},
        StoredValue{"unterminated_sz", REG_SZ, Text16("ab", false), "\"v\"=hex(1):61,00,62,00"},
        StoredValue{"sz_with_line_break", REG_SZ, Text16("a\n", true),
                    "\"v\"=hex(1):61,00,0a,00,00,00"},
        StoredValue{"sz_without_bytes", REG_SZ, std::string(), "\"v\"=hex(1):"},
        StoredValue{"expand_sz", REG_EXPAND_SZ, Text16("%A%", true),
                    "\"v\"=hex(2):25,00,41,00,25,00,00,00"},
        StoredValue{"multi_sz", REG_MULTI_SZ, Text16("a", true) + std::string(2, '\0'),
                    "\"v\"=hex(7):61,00,00,00,00,00"},
        StoredValue{"dword", REG_DWORD, Bytes({0x2A, 0, 0, 0x80}), "\"v\"=dword:8000002a"},
        StoredValue{"short_dword", REG_DWORD, Bytes({1, 2}), "\"v\"=hex(4):01,02"},
        StoredValue{"binary", REG_BINARY, Bytes({0, 1, 0xFF}), "\"v\"=hex:00,01,ff"},
        StoredValue{"qword", REG_QWORD, Bytes({1, 0, 0, 0, 0, 0, 0, 2}),
                    "\"v\"=hex(b):01,00,00,00,00,00,00,02"},
        StoredValue{"none", REG_NONE, std::string(), "\"v\"=hex(0):"},
        StoredValue{"other_type", 0x1234, Bytes({7}), "\"v\"=hex(1234):07"}),
    [](const testing::TestParamInfo<StoredValue> &info) { return std::string(info.param.label); });

TEST_F(StoreTest, FileStartsWithMarkHeaderAndBlankLineAndUsesCrLf) {
  HKEY key = OpenTestKey();
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(TEXT("x")), 4);
  std::string bytes = testing_support::ReadBytes(StorePath());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(std::string("\xFF\xFE"), bytes.substr(0, 2));
  std::string text = StoreText();
  EXPECT_EQ(0u, text.find("Windows Registry Editor Version 5.00\r\n\r\n["));
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    EXPECT_EQ('\r', text[at - 1]) << "a bare LF at " << at;
  std::vector<std::string> lines = StoreLines();
  auto keyLine = std::find(lines.begin(), lines.end(), "[HKEY_CURRENT_USER\\Software\\t]");
  ASSERT_NE(lines.end(), keyLine);
  EXPECT_EQ(0u, (keyLine + 1)->find(";addbar-key written=")) << "the key's times follow it";
  EXPECT_EQ("@=\"x\"", *(keyLine + 2));
  RegCloseKey(key);
}

TEST_F(StoreTest, NamesAreEscapedAndKeysComeParentFirstInSortedOrder) {
  HKEY key = OpenTestKey();
  for (const WCHAR *name : {TEXT("b\\c"), TEXT("A"), TEXT("b")}) {
    HKEY child = nullptr;
    RegCreateKeyExW(key, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr);
    RegCloseKey(child);
  }
  DWORD one = 1;
  RegSetValueExW(key, TEXT("na\"me\\x"), 0, REG_DWORD, reinterpret_cast<BYTE *>(&one), 4);
  std::vector<std::string> keyLines;
  for (const std::string &line : StoreLines())
    if (!line.empty() && line[0] == '[') keyLines.push_back(line);
  std::vector<std::string> expected = {"[HKEY_CURRENT_USER]",
                                       "[HKEY_CURRENT_USER\\Software]",
                                       "[HKEY_CURRENT_USER\\Software\\t]",
                                       "[HKEY_CURRENT_USER\\Software\\t\\A]",
                                       "[HKEY_CURRENT_USER\\Software\\t\\b]",
                                       "[HKEY_CURRENT_USER\\Software\\t\\b\\c]"};
  EXPECT_EQ(expected, keyLines);
  std::vector<std::string> lines = StoreLines();
  EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "\"na\\\"me\\\\x\"=dword:00000001"));
  RegCloseKey(key);
}

TEST_F(StoreTest, LineBreaksInNamesAreEscapedOrRefused) {
  HKEY key = OpenTestKey();
  DWORD one = 1;
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, TEXT("two\r\nlines"), 0, REG_DWORD,
                                          reinterpret_cast<BYTE *>(&one), 4));
  std::vector<std::string> lines = StoreLines();
  EXPECT_NE(lines.end(),
            std::find(lines.begin(), lines.end(), "\"two\\r\\nlines\"=dword:00000001"));
  // A key line can't hold a line break, so such a key can't be kept.
  HKEY child = nullptr;
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegCreateKeyExW(key, TEXT("a\nb"), 0, nullptr, 0,
                                                     KEY_ALL_ACCESS, nullptr, &child, nullptr));
  RegCloseKey(key);

  StoreCopy copy(testing_support::ReadBytes(StorePath()));
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t"), 0, KEY_READ, &key));
  DWORD size = 0;
  EXPECT_EQ(ERROR_SUCCESS,
            RegQueryValueExW(key, TEXT("two\r\nlines"), nullptr, nullptr, nullptr, &size));
  RegCloseKey(key);
}

TEST_F(StoreTest, LongHexDataGoesOnOverContinuationLines) {
  HKEY key = OpenTestKey();
  std::string data;
  for (int i = 0; i < 100; ++i) data += static_cast<char>(i);
  RegSetValueExW(key, TEXT("long"), 0, REG_BINARY, reinterpret_cast<const BYTE *>(data.data()),
                 static_cast<DWORD>(data.size()));
  std::vector<std::string> lines = StoreLines();
  auto first = std::find_if(lines.begin(), lines.end(), [](const std::string &line) {
    return line.rfind("\"long\"=hex:", 0) == 0;
  });
  ASSERT_NE(lines.end(), first);
  // "long"=hex: takes 11 columns, so 22 bytes fit before the break; then 25 a line.
  EXPECT_EQ(11u + 22 * 3 + 1, first->size());
  std::string joined;
  for (auto line = first; line != lines.end(); ++line) {
    EXPECT_LE(line->size(), 80u);
    if (line != first) {
      EXPECT_EQ(0u, line->find("  ")) << "continuations are indented by two";
    }
    bool continues = line->back() == '\\';
    joined += continues ? line->substr(0, line->size() - 1) : *line;
    if (!continues) break;
  }
  std::string expected;
  for (int i = 0; i < 100; ++i) {
    char hex[4];
    snprintf(hex, sizeof hex, i ? ",%02x" : "%02x", i);
    expected += hex;
  }
  joined.erase(std::remove(joined.begin(), joined.end(), ' '), joined.end());
  EXPECT_EQ("\"long\"=hex:" + expected, joined);
  RegCloseKey(key);
}

TEST_F(StoreTest, HandWrittenFilesAreRead) {
  WriteStore(
      "Windows Registry Editor Version 5.00\n"
      "\n"
      "; written by hand\n"
      "[HKEY_CURRENT_USER\\Software\\t]\n"
      "\"Number\" = DWORD:2A\n"
      "\"Bytes\"=HEX:0A,0b,\\\n"
      "    0C\n"
      "[hkey_current_user\\Software\\t]\n"
      "\"Text\"=\"two\"\n"
      "[HKEY_CURRENT_USER\\Software\\t\\deep\\er]\n");
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t"), 0, KEY_READ, &key));
  BYTE data[16];
  DWORD type = 0, size = sizeof data;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, TEXT("number"), nullptr, &type, data, &size));
  EXPECT_EQ(Bytes({0x2A, 0, 0, 0}), std::string(reinterpret_cast<char *>(data), size));
  size = sizeof data;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, TEXT("Bytes"), nullptr, &type, data, &size));
  EXPECT_EQ(Bytes({0x0A, 0x0B, 0x0C}), std::string(reinterpret_cast<char *>(data), size));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  size = sizeof data;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, TEXT("Text"), nullptr, &type, data, &size))
      << "a key named twice is one key";
  HKEY deeper = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(key, TEXT("deep"), 0, KEY_READ, &deeper))
      << "keys on the way to a key line exist";
  RegCloseKey(deeper);
  RegCloseKey(key);
}

TEST_F(StoreTest, KeyTimesComeFromTheFileOrItsModificationTime) {
  WriteStore(
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\t]\r\n"
      ";addbar-key written=01d0000000000123 id=00000000000000aa\r\n"
      "[HKEY_CURRENT_USER\\Software\\u]\r\n");
  FILETIME time = {};
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\t"), 0, KEY_READ, &key));
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, &time);
  EXPECT_EQ(0x01d00000u, time.dwHighDateTime);
  EXPECT_EQ(0x123u, time.dwLowDateTime);
  RegCloseKey(key);

  // Without a time line, a key was last written when the file was.
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\u"), 0, KEY_READ, &key));
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, &time);
  uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  int64_t now = static_cast<int64_t>(::time(nullptr)) * 10000000 + 116444736000000000LL;
  EXPECT_LT(std::llabs(now - static_cast<int64_t>(ticks)), 600000000LL) << "within a minute";
  RegCloseKey(key);
}

TEST_F(StoreTest, OtherHivesInTheFileAreKeptWhenItIsWritten) {
  WriteStore(
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Kept]\r\n"
      "\"x\"=\"y\"\r\n");
  HKEY key = OpenTestKey();
  std::vector<std::string> lines = StoreLines();
  EXPECT_NE(lines.end(),
            std::find(lines.begin(), lines.end(), "[HKEY_LOCAL_MACHINE\\Software\\Kept]"));
  EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "\"x\"=\"y\""));
  RegCloseKey(key);
}

}  // namespace
