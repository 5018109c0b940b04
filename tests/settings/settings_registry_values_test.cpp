// Values of registry keys: types, termination checks and sizes.
#include <gtest/gtest.h>

#include <vector>

#include "settings/old_platform.h"
#include "settings/settings_key.h"
#include "settings_test_store.h"

namespace {

class RegistryValues : public testing::Test {
 protected:
  void Open() {
    store.root.OpenInto(key, TEXT("v"), FALSE);
    ASSERT_NE(nullptr, key.m_hKey);
  }

  RegistryStore store;
  CSettingsKey key;
};

using Units = std::vector<WCHAR>;

struct RawStringCase {
  const char *label;
  DWORD type;
  Units units;
  int extraBytes;  // 1 = an odd count one byte past the units, -1 = one byte short
  LONG status;
  LPCWSTR text;  // what GetStringValue gives; its default "dflt" on failure
};

class RegistryStringData : public RegistryValues,
                           public testing::WithParamInterface<RawStringCase> {};

TEST_P(RegistryStringData, AcceptsOnlyWholeTerminatedText) {
  const RawStringCase &c = GetParam();
  DWORD bytes = static_cast<DWORD>(c.units.size() * sizeof(WCHAR) + c.extraBytes);
  // A unit that is not null follows the counted bytes: the registry counts a
  // terminator the caller left out when one follows the data.
  Units stored(c.units);
  stored.push_back('Z');
  store.SetRaw(TEXT("v"), TEXT("s"), c.type, stored.data(), bytes);
  Open();
  WCHAR buffer[32];
  DWORD count = sizeof buffer;
  EXPECT_EQ(c.status, key.QueryStringValue(buffer, TEXT("s"), &count)) << c.label;
  EXPECT_EQ(bytes, count) << c.label;
  EXPECT_EQ(WString(c.text), Text(GetStringValue(key, TEXT("s"), TEXT("dflt")))) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Types, RegistryStringData,
    testing::Values(
        RawStringCase{"terminated", REG_SZ, Units{'a', 'b', 0}, 0, 0, TEXT("ab")},
        RawStringCase{"unterminated", REG_SZ, Units{'a', 'b'}, 0, ERROR_INVALID_DATA, TEXT("dflt")},
        RawStringCase{"odd count", REG_SZ, Units{'a', 'b', 0}, 1, ERROR_INVALID_DATA, TEXT("dflt")},
        RawStringCase{"half a unit", REG_SZ, Units{'a', 'b'}, -1, ERROR_INVALID_DATA, TEXT("dflt")},
        RawStringCase{"no bytes", REG_SZ, Units{}, 0, ERROR_INVALID_DATA, TEXT("dflt")},
        RawStringCase{"expandable", REG_EXPAND_SZ, Units{'%', 'T', '%', 0}, 0, 0, TEXT("%T%")},
        RawStringCase{"two strings", REG_MULTI_SZ, Units{'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0}, 0,
                      0, TEXT("one")},
        RawStringCase{"one terminator", REG_MULTI_SZ, Units{'o', 'n', 'e', 0}, 0,
                      ERROR_INVALID_DATA, TEXT("dflt")},
        RawStringCase{"empty list", REG_MULTI_SZ, Units{0, 0}, 0, 0, TEXT("")},
        RawStringCase{"one unit", REG_MULTI_SZ, Units{0}, 0, ERROR_INVALID_DATA, TEXT("dflt")},
        RawStringCase{"binary", REG_BINARY, Units{'a', 0}, 0, ERROR_INVALID_DATA, TEXT("dflt")},
        RawStringCase{"none", REG_NONE, Units{'a', 0}, 0, ERROR_INVALID_DATA, TEXT("dflt")}));

TEST_F(RegistryValues, StringSizeQueryAndTooSmallBuffer) {
  Open();
  ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue(TEXT("abcdef"), TEXT("s")));
  DWORD count = 0;
  EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue(nullptr, TEXT("s"), &count));
  EXPECT_EQ(14u, count);
  WCHAR small[3];
  count = sizeof small;
  EXPECT_EQ(ERROR_MORE_DATA, key.QueryStringValue(small, TEXT("s"), &count));
  count = sizeof small;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.QueryStringValue(small, TEXT("missing"), &count));
  EXPECT_EQ(ERROR_INVALID_DATA, key.QueryStringValue(small, TEXT("s"), nullptr));
}

struct DwordDataCase {
  DWORD type;
  DWORD bytes;
  LONG status;
};

class RegistryDwordData : public RegistryValues,
                          public testing::WithParamInterface<DwordDataCase> {};

TEST_P(RegistryDwordData, OnlyAFourByteDwordIsANumber) {
  const BYTE data[8] = {0x78, 0x56, 0x34, 0x12, 1, 2, 3, 4};
  store.SetRaw(TEXT("v"), TEXT("n"), GetParam().type, data, GetParam().bytes);
  Open();
  DWORD value = 77;
  EXPECT_EQ(GetParam().status, key.QueryDwordValue(value, TEXT("n")));
  EXPECT_EQ(GetParam().status == ERROR_SUCCESS ? 0x12345678u : 77u, value);
}

INSTANTIATE_TEST_SUITE_P(Types, RegistryDwordData,
                         testing::Values(DwordDataCase{REG_DWORD, 4, ERROR_SUCCESS},
                                         DwordDataCase{REG_DWORD, 2, ERROR_INVALID_DATA},
                                         DwordDataCase{REG_DWORD, 8, ERROR_MORE_DATA},
                                         DwordDataCase{REG_BINARY, 4, ERROR_INVALID_DATA},
                                         DwordDataCase{REG_SZ, 4, ERROR_INVALID_DATA}));

TEST_F(RegistryValues, MissingNumberIsInvalidDataAndRoundTripsWork) {
  Open();
  DWORD value = 77;
  EXPECT_EQ(ERROR_INVALID_DATA, key.QueryDwordValue(value, TEXT("missing")));
  EXPECT_EQ(ERROR_SUCCESS, key.SetDwordValue(0xFFFFFFFF, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, key.QueryDwordValue(value, TEXT("")));
  EXPECT_EQ(0xFFFFFFFFu, value);
  WCHAR text[8];
  DWORD count = sizeof text;
  EXPECT_EQ(ERROR_INVALID_DATA, key.QueryStringValue(text, nullptr, &count));
  EXPECT_EQ(ERROR_SUCCESS, key.SetStringValue(TEXT("x=y"), TEXT("a=b")));
  EXPECT_EQ(WString(TEXT("x=y")), Text(GetStringValue(key, TEXT("a=b"), nullptr)));
  EXPECT_EQ(WString(), Text(GetStringValue(key, TEXT("a_b"), nullptr)));
}

// A value is there whatever its type and data; only a missing one is not.
TEST_F(RegistryValues, HasValueTellsAnyTypeFromAMissingValue) {
  store.SetRaw(TEXT("v"), nullptr, REG_NONE, nullptr, 0);
  store.SetRaw(TEXT("v"), TEXT("bin"), REG_BINARY, "\x01", 1);
  store.SetRaw(TEXT("v"), TEXT("empty"), REG_SZ, nullptr, 0);
  Open();
  for (LPCWSTR name : {static_cast<LPCWSTR>(nullptr), TEXT(""), TEXT("BIN"), TEXT("empty")}) {
    EXPECT_TRUE(key.HasValue(name));
  }
  EXPECT_FALSE(key.HasValue(TEXT("missing")));
}

TEST_F(RegistryValues, BinaryHasNoSizeLimit) {
  Open();
  g_oldPlatform = 1;
  std::vector<BYTE> data(40000, 0x5A);
  EXPECT_EQ(ERROR_SUCCESS, key.SetBinaryValue(data.data(), TEXT("b"), 40000));
  g_oldPlatform = -1;
  DWORD type = 0, bytes = 0;
  EXPECT_EQ(ERROR_SUCCESS,
            RegQueryValueExW(key.m_hKey, TEXT("b"), nullptr, &type, nullptr, &bytes));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(40000u, bytes);
}

TEST(RegistryRoot, ReadDwordFallsBackOnEveryFailure) {
  RegistryStore store;
  EXPECT_EQ(5u, store.root.ReadDword(TEXT("k"), TEXT("n"), 5));  // no key
  EXPECT_TRUE(store.root.WriteDword(TEXT("k"), TEXT("n"), 6));
  EXPECT_EQ(6u, store.root.ReadDword(TEXT("k"), TEXT("n"), 5));
  EXPECT_EQ(5u, store.root.ReadDword(TEXT("k"), TEXT("other"), 5));
  store.SetRaw(TEXT("k"), TEXT("s"), REG_SZ, TEXT("6"), 4);
  EXPECT_EQ(5u, store.root.ReadDword(TEXT("k"), TEXT("s"), 5));
}

}  // namespace
