// Listing sub-keys and values, counting them, and key times.
#include <cstring>
#include <string>
#include <vector>

#include "registry_fixture.h"

namespace {

std::vector<WString> SubKeyNames(HKEY key) {
  std::vector<WString> names;
  WCHAR name[300];
  for (DWORD i = 0;; ++i) {
    DWORD length = 300;
    LONG status = RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) {
      EXPECT_EQ(ERROR_NO_MORE_ITEMS, status);
      break;
    }
    names.emplace_back(name, length);
  }
  return names;
}

std::vector<WString> ValueNames(HKEY key) {
  std::vector<WString> names;
  WCHAR name[300];
  for (DWORD i = 0;; ++i) {
    DWORD length = 300;
    LONG status = RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) {
      EXPECT_EQ(ERROR_NO_MORE_ITEMS, status);
      break;
    }
    names.emplace_back(name, length);
  }
  return names;
}

uint64_t Ticks(const FILETIME &time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

TEST_F(RegistryTest, SubKeysListSortedWithoutRegardToCase) {
  for (const WCHAR *name : {TEXT("b"), TEXT("A"), TEXT("c"), TEXT("B2")}) Create(name);
  std::vector<WString> expected = {TEXT("A"), TEXT("b"), TEXT("B2"), TEXT("c")};
  EXPECT_EQ(expected, SubKeyNames(m_base));
}

TEST_F(RegistryTest, SubKeysSortAsUpperCase) {
  // Upper-cased, '_' (0x5F) comes after every letter; lower-cased, before.
  for (const WCHAR *name : {TEXT("b"), TEXT("_u"), TEXT("A")}) Create(name);
  std::vector<WString> expected = {TEXT("A"), TEXT("b"), TEXT("_u")};
  testing_support::KnownWineDifference("Wine sorts key names as lower case",
                                       [&] { EXPECT_EQ(expected, SubKeyNames(m_base)); });
}

TEST_F(RegistryTest, ValuesListInTheOrderTheyWereFirstSet) {
  const char kWineSorts[] = "Wine lists values sorted by name";
  for (const WCHAR *name : {TEXT("b"), TEXT("a"), TEXT("c")}) SetDword(m_base, name, 1);
  SetDword(m_base, TEXT("B"), 2);  // set again: keeps its place
  std::vector<WString> expected = {TEXT("b"), TEXT("a"), TEXT("c")};
  testing_support::KnownWineDifference(kWineSorts,
                                       [&] { EXPECT_EQ(expected, ValueNames(m_base)); });
  RegDeleteValueW(m_base, TEXT("a"));
  SetDword(m_base, TEXT("a"), 3);
  expected = {TEXT("b"), TEXT("c"), TEXT("a")};
  testing_support::KnownWineDifference(kWineSorts,
                                       [&] { EXPECT_EQ(expected, ValueNames(m_base)); });
}

TEST_F(RegistryTest, EnumKeyCountsUnitsWithAndWithoutTheTerminator) {
  Create(TEXT("seven77"));
  WCHAR name[16];
  DWORD length = 7;
  EXPECT_EQ(ERROR_MORE_DATA,
            RegEnumKeyExW(m_base, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(7u, length) << "the count stays as given";
  length = 8;
  EXPECT_EQ(ERROR_SUCCESS,
            RegEnumKeyExW(m_base, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(7u, length) << "units copied, without the terminator";
  EXPECT_EQ(WString(TEXT("seven77")), WString(name));
  length = 16;
  EXPECT_EQ(ERROR_NO_MORE_ITEMS,
            RegEnumKeyExW(m_base, 1, name, &length, nullptr, nullptr, nullptr, nullptr));
  WCHAR keyClass[4] = {TEXT('x')};
  DWORD classLength = 4;
  length = 16;
  EXPECT_EQ(ERROR_SUCCESS,
            RegEnumKeyExW(m_base, 0, name, &length, nullptr, keyClass, &classLength, nullptr));
  EXPECT_EQ(0u, classLength);
  EXPECT_EQ(0, keyClass[0]);
}

TEST_F(RegistryTest, EnumValueReportsWhatDidNotFit) {
  SetString(m_base, TEXT("name"), TEXT("foobar"));  // 14 bytes
  WCHAR name[16];
  BYTE data[32];
  memset(data, 0xBD, sizeof data);
  DWORD length = 4, type = 0, size = sizeof data;
  EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueW(m_base, 0, name, &length, nullptr, &type, data, &size));
  EXPECT_EQ(4u, length);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(14u, size);
  EXPECT_EQ(0xBD, data[0]);

  length = 5;
  size = 13;
  EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueW(m_base, 0, name, &length, nullptr, &type, data, &size));
  EXPECT_EQ(4u, length) << "the name fitted and was copied";
  EXPECT_EQ(WString(TEXT("name")), WString(name));
  EXPECT_EQ(14u, size);
  EXPECT_EQ(0xBD, data[0]);

  length = 5;
  size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegEnumValueW(m_base, 0, name, &length, nullptr, &type, nullptr, &size));
  EXPECT_EQ(14u, size);
  EXPECT_EQ(ERROR_NO_MORE_ITEMS,
            RegEnumValueW(m_base, 1, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_INVALID_PARAMETER,
            RegEnumValueW(m_base, 0, nullptr, &length, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(RegistryTest, QueryInfoCountsAndMeasures) {
  HKEY key = Create(TEXT("measured"));
  Create(TEXT("measured\\short"));
  Create(TEXT("measured\\a-longer-name"));
  SetString(key, TEXT("value-name"), TEXT("twelve chars"));  // 26 bytes
  SetDword(key, TEXT("v"), 1);
  DWORD subKeys = 0, longestKey = 0, longestClass = 9, values = 0, longestName = 0, longestData = 0,
        classLength = 9;
  WCHAR keyClass[4];
  FILETIME time = {};
  ASSERT_EQ(ERROR_SUCCESS,
            RegQueryInfoKeyW(key, keyClass, &classLength, nullptr, &subKeys, &longestKey,
                             &longestClass, &values, &longestName, &longestData, nullptr, &time));
  EXPECT_EQ(2u, subKeys);
  EXPECT_EQ(13u, longestKey) << "units, no terminator";
  EXPECT_EQ(0u, longestClass);
  EXPECT_EQ(0u, classLength);
  EXPECT_EQ(2u, values);
  EXPECT_EQ(10u, longestName);
  EXPECT_EQ(26u, longestData) << "bytes";
  EXPECT_NE(0u, time.dwHighDateTime);
  EXPECT_EQ(ERROR_INVALID_PARAMETER,
            RegQueryInfoKeyW(key, keyClass, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr));
}

TEST_F(RegistryTest, KeyTimesFollowChangesAndMatchInListings) {
  HKEY parent = Create(TEXT("timed"));
  uint64_t created = LastWrite(parent);
  WaitForTheClockToPass(created);
  HKEY child = Create(TEXT("timed\\child"));
  uint64_t afterChild = LastWrite(parent);
  EXPECT_GT(afterChild, created) << "a new sub-key stamps its parent";
  WaitForTheClockToPass(afterChild);
  Create(TEXT("timed\\child\\grandchild"));
  EXPECT_EQ(afterChild, LastWrite(parent)) << "only the direct parent is stamped";
  WaitForTheClockToPass(LastWrite(child));
  SetDword(child, TEXT("v"), 1);

  WCHAR name[16];
  DWORD length = 16;
  FILETIME listed = {};
  ASSERT_EQ(ERROR_SUCCESS,
            RegEnumKeyExW(parent, 0, name, &length, nullptr, nullptr, nullptr, &listed));
  EXPECT_EQ(LastWrite(child), Ticks(listed));
  EXPECT_GT(Ticks(listed), afterChild);
  EXPECT_EQ(afterChild, LastWrite(parent)) << "a value of a child leaves the parent alone";
}

TEST_F(RegistryTest, ManyKeysListInFull) {
  const int kCount = 300;
  HKEY many = Create(TEXT("many"));
  for (int i = kCount - 1; i >= 0; --i) {
    HKEY key = nullptr;
    WString name = testing_support::Wide("k" + std::to_string(1000 + i));
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(many, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    RegCloseKey(key);
  }
  std::vector<WString> names = SubKeyNames(many);
  ASSERT_EQ(static_cast<size_t>(kCount), names.size());
  EXPECT_EQ(WString(TEXT("k1000")), names.front());
  EXPECT_EQ(testing_support::Wide("k" + std::to_string(1000 + kCount - 1)), names.back());
}

}  // namespace
