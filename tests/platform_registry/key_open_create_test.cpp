// Opening, creating and closing keys: statuses, handles and dispositions.
#include <cctype>

#include "registry_fixture.h"

namespace {

HKEY Garbage() { return reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1234)); }

TEST_F(RegistryTest, CreateTellsNewFromExistingAndOpenFindsTheKey) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(m_base, TEXT("Fresh"), 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &key, &disposition));
  EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(m_base, TEXT("FRESH"), 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &key, &disposition));
  EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
  RegCloseKey(key);
  EXPECT_NE(nullptr, Open(TEXT("fresh")));
}

TEST_F(RegistryTest, CreatingADeepPathCreatesEveryMissingKey) {
  Create(TEXT("one\\two\\three"));
  EXPECT_NE(nullptr, Open(TEXT("one")));
  HKEY two = Open(TEXT("one\\two"));
  ASSERT_NE(nullptr, two);
  EXPECT_EQ(1u, SubKeyCount(two));
}

TEST_F(RegistryTest, KeysKeepTheSpellingTheyWereCreatedWith) {
  Create(TEXT("MixedCase"));
  Create(TEXT("MIXEDCASE\\Inner"));
  WCHAR name[64];
  DWORD length = 64;
  ASSERT_EQ(ERROR_SUCCESS,
            RegEnumKeyExW(m_base, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(WString(TEXT("MixedCase")), WString(name));
  EXPECT_EQ(1u, SubKeyCount(m_base));
}

struct PathCase {
  const char *label;
  WString path;
  LONG status;
};

class SubKeyPaths : public RegistryTest, public testing::WithParamInterface<PathCase> {};

TEST_P(SubKeyPaths, OpenAnswersAsWindowsDoes) {
  Create(TEXT("a\\b"));
  Create(WString(256, TEXT('n')));
  HKEY key = Garbage();
  LONG status = RegOpenKeyExW(m_base, GetParam().path.c_str(), 0, KEY_READ, &key);
  EXPECT_EQ(GetParam().status, status);
  if (status == ERROR_SUCCESS) {
    EXPECT_NE(nullptr, key);
    RegCloseKey(key);
  } else {
    EXPECT_EQ(nullptr, key) << "a failed open leaves the handle null";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SubKeyPaths,
    testing::Values(PathCase{"plain", TEXT("a\\b"), ERROR_SUCCESS},
                    PathCase{"other case", TEXT("A\\B"), ERROR_SUCCESS},
                    PathCase{"doubled separator", TEXT("a\\\\b"), ERROR_SUCCESS},
                    PathCase{"trailing separators", TEXT("a\\b\\\\"), ERROR_SUCCESS},
                    PathCase{"leading separator", TEXT("\\a\\b"), ERROR_BAD_PATHNAME},
                    PathCase{"missing", TEXT("a\\c"), ERROR_FILE_NOT_FOUND},
                    PathCase{"missing below missing", TEXT("x\\y"), ERROR_FILE_NOT_FOUND},
                    PathCase{"256 units", WString(256, TEXT('n')), ERROR_SUCCESS},
                    PathCase{"257 units", WString(257, TEXT('n')), ERROR_INVALID_PARAMETER}),
    [](const testing::TestParamInfo<PathCase> &info) {
      std::string name = info.param.label;
      for (char &c : name) c = isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST_F(RegistryTest, NamesLongerThanWindowsTakesAreRefusedOnCreate) {
  HKEY key = Garbage();
  EXPECT_EQ(ERROR_INVALID_PARAMETER,
            RegCreateKeyExW(m_base, WString(257, TEXT('k')).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr));
  EXPECT_EQ(nullptr, key);
  WString deeper = WString(TEXT("ok\\")) + WString(257, TEXT('k'));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegCreateKeyExW(m_base, deeper.c_str(), 0, nullptr, 0,
                                                     KEY_ALL_ACCESS, nullptr, &key, nullptr));
  EXPECT_EQ(ERROR_BAD_PATHNAME, RegCreateKeyExW(m_base, TEXT("\\lead"), 0, nullptr, 0,
                                                KEY_ALL_ACCESS, nullptr, &key, nullptr));
}

TEST_F(RegistryTest, AnEmptySubKeyOpensTheSameKey) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &key));
  EXPECT_EQ(HKEY_CURRENT_USER, key) << "a predefined key is handed back as it is";
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, TEXT(""), 0, KEY_READ, &key));
  EXPECT_EQ(HKEY_CURRENT_USER, key);

  SetDword(m_base, TEXT("here"), 1);
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(m_base, TEXT(""), 0, KEY_READ, &key));
  EXPECT_NE(m_base, key) << "an opened key gets a new handle";
  EXPECT_EQ(ERROR_SUCCESS, Read(key, TEXT("here")).status);
  RegCloseKey(key);
}

TEST_F(RegistryTest, BadHandlesAndArgumentsAreRefused) {
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegOpenKeyExW(nullptr, TEXT("x"), 0, KEY_READ, &key));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegOpenKeyExW(m_base, TEXT("x"), 0, KEY_READ, nullptr));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegCreateKeyExW(m_base, TEXT("x"), 1, nullptr, 0,
                                                     KEY_ALL_ACCESS, nullptr, &key, nullptr));

  HKEY closed = Create(TEXT("closing"));
  CloseAll();
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(closed)) << "closed twice";
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(nullptr));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_CURRENT_USER)) << "predefined keys always close";
  DWORD size = 0;
  EXPECT_EQ(ERROR_INVALID_HANDLE,
            RegQueryValueExW(closed, nullptr, nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_INVALID_HANDLE, SetDword(closed, TEXT("v"), 1));
}

TEST_F(RegistryTest, HandlesGetTheRightsAskedFor) {
  Create(TEXT("guarded"));
  SetDword(Open(TEXT("guarded")), TEXT("v"), 7);
  HKEY reader = Open(TEXT("guarded"), KEY_READ);
  ASSERT_NE(nullptr, reader);
  EXPECT_EQ(ERROR_SUCCESS, Read(reader, TEXT("v")).status);
  EXPECT_EQ(ERROR_ACCESS_DENIED, SetDword(reader, TEXT("v"), 8));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValueW(reader, TEXT("v")));

  HKEY nothing = Open(TEXT("guarded"), 0);
  ASSERT_NE(nullptr, nothing) << "a key opens with no rights at all";
  EXPECT_EQ(ERROR_ACCESS_DENIED, Read(nothing, TEXT("v")).status);
  WCHAR name[8];
  DWORD length = 8;
  EXPECT_EQ(ERROR_ACCESS_DENIED,
            RegEnumKeyExW(nothing, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  HKEY child = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(nothing, TEXT("child"), 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &child, nullptr))
      << "creating below a key needs no rights on its handle";
  RegCloseKey(child);
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(nothing, TEXT("child")));

  HKEY writer = Open(TEXT("guarded"), KEY_SET_VALUE);
  EXPECT_EQ(ERROR_SUCCESS, SetDword(writer, TEXT("w"), 1));
  EXPECT_EQ(ERROR_ACCESS_DENIED, Read(writer, TEXT("w")).status);
  HKEY generic = Open(TEXT("guarded"), GENERIC_READ);
  EXPECT_EQ(ERROR_SUCCESS, Read(generic, TEXT("w")).status) << "GENERIC_READ means KEY_READ";
}

TEST_F(RegistryTest, QueryInfoNeedsTheRightToQueryValues) {
  Create(TEXT("info"));
  HKEY lister = Open(TEXT("info"), KEY_ENUMERATE_SUB_KEYS);
  DWORD count = 0;
  const LONG status = RegQueryInfoKeyW(lister, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr);
  testing_support::KnownWineDifference(
      "Wine answers RegQueryInfoKeyW on a handle without KEY_QUERY_VALUE",
      [&] { EXPECT_EQ(ERROR_ACCESS_DENIED, status); });
}

TEST_F(RegistryTest, OtherHivesHaveNoSuchKeys) {
  HKEY key = Garbage();
  EXPECT_EQ(
      ERROR_FILE_NOT_FOUND,
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\addbar-tests-none\\x"), 0, KEY_READ, &key));
  EXPECT_EQ(nullptr, key);
}

TEST_F(RegistryTest, AHandleToADeletedKeyReportsItDeleted) {
  HKEY doomed = Create(TEXT("doomed"));
  ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(m_base, TEXT("doomed")));
  Create(TEXT("doomed"));  // a new key of the same name is another key

  DWORD size = 0, count = 0;
  WCHAR name[8];
  DWORD length = 8;
  HKEY child = nullptr;
  EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExW(doomed, nullptr, nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_KEY_DELETED, SetDword(doomed, TEXT("v"), 1));
  EXPECT_EQ(ERROR_KEY_DELETED,
            RegEnumKeyExW(doomed, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_KEY_DELETED,
            RegQueryInfoKeyW(doomed, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_KEY_DELETED, RegCreateKeyExW(doomed, TEXT("c"), 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, &child, nullptr));
  EXPECT_EQ(ERROR_KEY_DELETED, RegOpenKeyExW(doomed, TEXT("c"), 0, KEY_READ, &child));
  EXPECT_EQ(0u, ValueCount(Open(TEXT("doomed")))) << "the write went nowhere";
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(doomed));
}

}  // namespace
