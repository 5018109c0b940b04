// Opening, creating and closing keys in both backends.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/old_platform.h"
#include "settings/settings_key.h"
#include "settings_test_store.h"

using testing_support::ReadBytes;

namespace {

const WCHAR kTree[] =
    TEXT("[top]\r\n[top\\lines]\r\nk=v\r\n[top\\bare]\r\n[top\\bare\\deep]\r\nd=1\r\n");

struct ReadOnlyCase {
  LPCWSTR prefix;
  LPCWSTR name;
  bool open;
};

class IniReadOnlyOpenTest : public testing::TestWithParam<ReadOnlyCase> {};

// A read-only key needs a section with at least one line of its own, except
// for the empty path, which only needs a readable file.
TEST_P(IniReadOnlyOpenTest, OpensOnlyWhereTheSectionHasLines) {
  IniStore store(GetParam().prefix);
  store.Write(kTree);
  CSettingsKey key;
  store.root.OpenInto(key, GetParam().name, TRUE);
  EXPECT_EQ(GetParam().open ? ProfileKeyMarker() : nullptr, key.m_hKey);
}

INSTANTIATE_TEST_SUITE_P(Sections, IniReadOnlyOpenTest,
                         testing::Values(ReadOnlyCase{TEXT("top"), TEXT("lines"), true},
                                         ReadOnlyCase{TEXT("TOP\\"), TEXT("Lines"), true},
                                         ReadOnlyCase{TEXT("top"), nullptr, false},
                                         ReadOnlyCase{TEXT("top"), TEXT("bare"), false},
                                         ReadOnlyCase{TEXT("top"), TEXT("missing"), false},
                                         ReadOnlyCase{TEXT("top\\bare"), TEXT("deep"), true},
                                         ReadOnlyCase{TEXT(""), nullptr, true},
                                         ReadOnlyCase{TEXT(""), TEXT(""), true}));

TEST(IniOpen, ReadOnlyKeyOfMissingFileIsClosedAndCreatesNothing) {
  IniStore store;
  CSettingsKey key;
  store.root.OpenInto(key, nullptr, TRUE);
  EXPECT_EQ(nullptr, key.m_hKey);
  EXPECT_FALSE(testing_support::FileExists(store.file));
}

class IniNewFile : public testing::TestWithParam<LPCWSTR> {};

// Without a parent (none, or one with an empty name) nothing is written.
TEST_P(IniNewFile, WritableOpeningCreatesMissingFileWithByteOrderMarkOnly) {
  IniStore store(GetParam());
  CSettingsKey key;
  store.root.OpenInto(key, nullptr, FALSE);
  EXPECT_EQ(ProfileKeyMarker(), key.m_hKey);
  EXPECT_EQ(std::string("\xFF\xFE", 2), ReadBytes(store.file));
}

INSTANTIATE_TEST_SUITE_P(Paths, IniNewFile, testing::Values(TEXT("top"), TEXT("\\top")));

TEST(IniOpen, WritableChildGivesItsEmptyParentAnAtEntry) {
  IniStore store(TEXT("top"));
  CSettingsKey child;
  store.root.OpenInto(child, TEXT("mid\\leaf"), FALSE);
  ASSERT_EQ(ProfileKeyMarker(), child.m_hKey);
  EXPECT_EQ(std::string("\xFF\xFE", 2), ReadBytes(store.file).substr(0, 2));
  EXPECT_EQ(WString(TEXT("@=")), store.Lines(TEXT("top\\mid")));
  EXPECT_EQ(WString(), store.Lines(TEXT("top")));             // only the direct parent
  EXPECT_EQ(WString(), store.Lines(TEXT("top\\mid\\leaf")));  // made by its first value

  CSettingsKey parent;
  store.root.OpenInto(parent, TEXT("mid"), TRUE);
  EXPECT_NE(nullptr, parent.m_hKey);
}

TEST(IniOpen, ParentWithLinesGetsNoAtEntry) {
  IniStore store;
  store.Write(kTree);
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("top\\lines\\new"), FALSE);
  EXPECT_EQ(ProfileKeyMarker(), key.m_hKey);
  EXPECT_EQ(WString(TEXT("k=v")), store.Lines(TEXT("top\\lines")));
}

TEST(IniOpen, ReadOnlyAttributeAllowsReadingButNeverWriting) {
  IniStore store(TEXT("top"));
  store.Write(kTree);
  testing_support::MakeReadOnly(store.file);
  const std::string before = ReadBytes(store.file);
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("lines"), FALSE);
  EXPECT_EQ(nullptr, key.m_hKey);
  store.root.OpenInto(key, TEXT("lines"), TRUE);
  EXPECT_EQ(ProfileKeyMarker(), key.m_hKey);
  EXPECT_EQ(before, ReadBytes(store.file));
}

TEST(IniOpen, ExistingFileThatCantBeReadIsNeitherOpenedNorEmptied) {
  IniStore store(TEXT("top"));
  store.Write(kTree);
  const std::string before = ReadBytes(store.file);
  HANDLE exclusive = CreateFileW(store.file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, exclusive);
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("lines"), FALSE);
  EXPECT_EQ(nullptr, key.m_hKey);
  CloseHandle(exclusive);
  EXPECT_EQ(before, ReadBytes(store.file));
}

TEST(IniOpen, FolderInPlaceOfTheFileIsNotOpened) {
  IniStore store(TEXT("top"));
  std::filesystem::create_directory(std::filesystem::path(store.file));
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("lines"), FALSE);
  EXPECT_EQ(nullptr, key.m_hKey);
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(store.file)));
}

TEST(IniOpen, OpenTakesWritabilityFromTheSetValueBit) {
  IniStore store(TEXT("top"));
  store.Write(kTree);
  CSettingsKey parent, child;
  store.root.OpenInto(parent, nullptr, TRUE);
  EXPECT_EQ(nullptr, parent.m_hKey);  // no lines of its own; Open doesn't care
  EXPECT_EQ(ERROR_SUCCESS, child.Open(parent, TEXT("lines"), KEY_READ));
  EXPECT_EQ(WString(TEXT("top\\lines")), Text(child.m_path));
  EXPECT_TRUE(child.m_readOnly);
  EXPECT_EQ(E_FAIL, child.Open(parent, TEXT("missing"), KEY_READ));
  EXPECT_EQ(nullptr, child.m_hKey);
  EXPECT_EQ(ERROR_SUCCESS, child.Open(parent, TEXT("missing"), KEY_READ | KEY_SET_VALUE));
  EXPECT_FALSE(child.m_readOnly);
  EXPECT_EQ(ProfileKeyMarker(), child.m_hKey);
}

TEST(RegistryOpen, ReadOnlyNeedsTheKeyWritableCreatesIt) {
  RegistryStore store;
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("a\\b"), TRUE);
  EXPECT_EQ(nullptr, key.m_hKey);
  store.root.OpenInto(key, TEXT("a\\b"), FALSE);
  ASSERT_NE(nullptr, key.m_hKey);
  EXPECT_EQ(ERROR_SUCCESS, key.SetDwordValue(7, TEXT("n")));
  store.root.OpenInto(key, TEXT("a\\b\\"), TRUE);
  ASSERT_NE(nullptr, key.m_hKey);
  EXPECT_EQ(nullptr, key.m_iniPath);
  EXPECT_EQ(7u, store.root.ReadDword(TEXT("a\\b"), TEXT("n"), 0));
}

TEST(RegistryOpen, NullOrEmptyNameOpensTheRootKeyItself) {
  RegistryStore store;
  EXPECT_TRUE(store.root.WriteDword(nullptr, TEXT("n"), 5));
  EXPECT_EQ(5u, store.root.ReadDword(TEXT(""), TEXT("n"), 0));
}

TEST(RegistryOpen, MissingSubKeyReportsNotFoundAndKeepsTheKey) {
  RegistryStore store;
  ASSERT_TRUE(store.root.WriteDword(TEXT("a\\b"), TEXT("n"), 3));
  CSettingsKey parent, key;
  store.root.OpenInto(parent, TEXT("a"), TRUE);
  store.root.OpenInto(key, TEXT("a\\b"), TRUE);
  const HKEY held = key.m_hKey;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(parent, TEXT("missing"), KEY_READ));
  EXPECT_EQ(held, key.m_hKey);
  EXPECT_EQ(WString(store.registry.BasePath() + TEXT("\\a\\b")), Text(key.m_path));
  DWORD value = 0;
  EXPECT_EQ(ERROR_SUCCESS, key.QueryDwordValue(value, TEXT("n")));
  EXPECT_EQ(3u, value);

  EXPECT_EQ(ERROR_SUCCESS, key.Open(parent, TEXT("b"), KEY_READ | KEY_SET_VALUE));
  EXPECT_FALSE(key.m_readOnly);
  EXPECT_EQ(ERROR_SUCCESS, key.SetDwordValue(4, TEXT("n")));
  EXPECT_EQ(4u, store.root.ReadDword(TEXT("a\\b"), TEXT("n"), 0));
}

// A closed key (registry or INI alike) refuses every operation.
TEST(ClosedKey, EveryOperationFails) {
  IniStore ini;
  RegistryStore registry;
  CSettingsKey iniKey, registryKey, neverOpened;
  ini.root.OpenInto(iniKey, TEXT("s"), FALSE);
  registry.root.OpenInto(registryKey, TEXT("s"), FALSE);
  ASSERT_NE(nullptr, iniKey.m_hKey);
  ASSERT_NE(nullptr, registryKey.m_hKey);
  EXPECT_EQ(ERROR_SUCCESS, iniKey.Close());
  EXPECT_EQ(ERROR_SUCCESS, registryKey.Close());

  for (CSettingsKey *key : {&iniKey, &registryKey, &neverOpened}) {
    EXPECT_EQ(nullptr, key->m_hKey);
    EXPECT_EQ(nullptr, key->m_iniPath);
    EXPECT_TRUE(key->m_path.IsEmpty());
    DWORD value = 0, count = 1, type = 9;
    WCHAR text[8];
    EXPECT_EQ(ERROR_INVALID_HANDLE, key->QueryDwordValue(value, TEXT("n")));
    EXPECT_EQ(ERROR_INVALID_HANDLE, key->SetDwordValue(1, TEXT("n")));
    EXPECT_EQ(ERROR_INVALID_HANDLE, key->QueryStringValue(text, TEXT("n"), &count));
    EXPECT_EQ(ERROR_INVALID_HANDLE, key->SetStringValue(TEXT("x"), TEXT("n")));
    EXPECT_EQ(ERROR_INVALID_HANDLE, key->SetBinaryValue(text, TEXT("n"), 2));
    EXPECT_EQ(WString(TEXT("dflt")), Text(GetStringValue(*key, TEXT("n"), TEXT("dflt"))));
    EXPECT_TRUE(key->EnumKey(0).IsEmpty());
    EXPECT_TRUE(key->EnumValue(0, type).IsEmpty());
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), type);
    EXPECT_FALSE(key->QueryInfo(&count, &count, nullptr));
  }
}

TEST(OldPlatformFlag, StaysUnknownUntilAKeyIsBuiltFromABinding) {
  IniStore store(TEXT("top"));
  store.Write(kTree);
  g_oldPlatform = -1;
  {
    CSettingsKey parent, child;
    store.root.OpenInto(parent, TEXT("lines"), FALSE);
    child.Open(parent, TEXT("x"), KEY_READ);
    parent.SetBinaryValue("abcd", TEXT("b"), 4);
    parent.EnumKey(0);
  }
  EXPECT_EQ(-1, g_oldPlatform);
  EXPECT_EQ(0xABu, store.root.ReadDword(TEXT("missing"), TEXT("n"), 0xAB));
  // Every platform these tests run on is version 5 or later.
  EXPECT_EQ(0, g_oldPlatform);
}

}  // namespace
