// What the replay records of a registry key, an INI file and single calls,
// on the build's own calls. The data is chosen so that Windows, Wine and the
// stand-in agree on it: these tests check the dump, not the platform.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dump_record.h"
#include "ini_dump.h"
#include "profile_calls.h"
#include "registry_calls.h"
#include "registry_dump.h"
#include "replay.h"
#include "support/test_support.h"

namespace {

// The dump's records without the scenario column, one "topic: content" a line.
std::string Records(const replay::DumpRecorder &dump) {
  std::string records;
  const std::string &text = dump.Text();
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    std::string line = text.substr(at, end - at);
    line = line.substr(line.find('\t') + 1);
    line.replace(line.find('\t'), 1, ": ");
    records += line + "\n";
    at = end + 1;
  }
  return records;
}

class DumpOfCalls : public testing::Test {
 protected:
  testing_support::ScopedRegistry m_registry;
  testing_support::TempDir m_folder;
  replay::DumpRecorder m_dump;
};

TEST_F(DumpOfCalls, RegistryKeyIsVisitedByNameWithListingOrderApart) {
  {
    replay::Replay replay(m_dump, m_folder.Path(), m_registry.BasePath(), "tree");
    HKEY key = replay.Key();
    ASSERT_NE(nullptr, key);
    const BYTE data[] = {0x01, 0xAB};
    RegSetValueExW(key, TEXT("b"), 0, REG_BINARY, data, sizeof data);
    RegSetValueExW(key, TEXT("c"), 0, REG_NONE, nullptr, 0);
    HKEY child = nullptr;
    for (LPCWSTR path : {TEXT("y\\deep"), TEXT("x")}) {
      ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(key, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                               &child, nullptr));
      RegCloseKey(child);
    }
    replay::DumpRegistryKey(replay, key);
  }
  EXPECT_EQ(
      "reg \\ info: subkeys=2 longest-subkey=1 values=2 longest-name=1 longest-data=2\n"
      "reg \\ subkey order: end=259 \"x\" \"y\"\n"
      "reg \\ value order: end=259 \"b\" \"c\"\n"
      "reg \\ value \"b\": type=3 size=2 data=01ab\n"
      "reg \\ value \"c\": type=0 size=0 data=\n"
      "reg \\x info: subkeys=0 longest-subkey=0 values=0 longest-name=0 longest-data=0\n"
      "reg \\x subkey order: end=259\n"
      "reg \\x value order: end=259\n"
      "reg \\y info: subkeys=1 longest-subkey=4 values=0 longest-name=0 longest-data=0\n"
      "reg \\y subkey order: end=259 \"deep\"\n"
      "reg \\y value order: end=259\n"
      "reg \\y\\deep info: subkeys=0 longest-subkey=0 values=0 longest-name=0 longest-data=0\n"
      "reg \\y\\deep subkey order: end=259\n"
      "reg \\y\\deep value order: end=259\n",
      Records(m_dump));
}

TEST_F(DumpOfCalls, QueriesShowWhatTheBufferHeldAfterwards) {
  {
    replay::Replay replay(m_dump, m_folder.Path(), m_registry.BasePath(), "query");
    HKEY key = replay.Key();
    ASSERT_NE(nullptr, key);
    const BYTE data[] = {0x10, 0x20};
    replay::SetValue(replay, key, TEXT("v"), REG_BINARY, data, sizeof data);
    for (int extra : {-1, 0, 2}) replay::QueryValue(replay, key, TEXT("v"), extra);
    replay::QueryValue(replay, key, TEXT("none"), 0);
    replay::DeleteValue(replay, key, TEXT("none"));
  }
  EXPECT_EQ(
      "call 01 set \"v\" type=3 bytes=2: 0\n"
      "call 02 query \"v\" room=size-1: 234 type=3 size=2 buffer=cc\n"
      "call 03 query \"v\" room=size+0: 0 type=3 size=2 buffer=1020\n"
      "call 04 query \"v\" room=size+2: 0 type=3 size=2 buffer=1020cccc\n"
      "call 05 query \"none\" room=size+0: size query 2\n"
      "call 06 delete value \"none\": 2\n",
      Records(m_dump));
}

TEST_F(DumpOfCalls, IniFileShowsItsBytesAndWhatReadersSee) {
  {
    replay::Replay replay(m_dump, m_folder.Path(), m_registry.BasePath(), "ini");
    const WString file = replay.File();
    replay::SeedFile(replay, file, "[one]\r\na=1\r\n[two]\r\nb=\"2\"\r\n");
    replay::WriteString(replay, file, TEXT("one"), TEXT("c"), TEXT("3"));
    replay::ReadString(replay, file, TEXT("one"), TEXT("a"), 1);
    replay::DumpIniFile(replay, file, "file ");
    replay::DumpIniFile(replay, replay.File("-absent"), "absent ");
  }
  EXPECT_EQ(
      "call 01 ini.ini: write [\"one\"] \"c\" = \"3\": 1\n"
      "call 02 ini.ini: read [\"one\"] \"a\" size=1: 0 \"\\u0000\"\n"
      "file raw encoding: 8-bit\n"
      "file raw shape: lines=5 blank=0 ends=crlf final-break=yes\n"
      "file raw sect.1: header \"[one]\"\n"
      "file raw sect.1.1: entry \"a\" = \"1\"\n"
      "file raw sect.1.2: entry \"c\" = \"3\"\n"
      "file raw sect.2: header \"[two]\"\n"
      "file raw sect.2.1: entry \"b\" = \"\\\"2\\\"\"\n"
      "file read names: 8 \"one\" \"two\"\n"
      "file read sect.1 lines: 8 \"a=1\" \"c=3\"\n"
      "file read sect.1 keys: 4 \"a\" \"c\"\n"
      "file read sect.1 key.1: 1 \"1\"\n"
      "file read sect.1 key.2: 1 \"3\"\n"
      "file read sect.2 lines: 6 \"b=\\\"2\\\"\"\n"
      "file read sect.2 keys: 2 \"b\"\n"
      "file read sect.2 key.1: 1 \"2\"\n"
      "absent raw: no file\n"
      "absent read names: 0\n",
      Records(m_dump));
}

}  // namespace
