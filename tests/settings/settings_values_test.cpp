// Values of INI keys: entry naming, number and string forms, size limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/old_platform.h"
#include "settings/settings_key.h"
#include "settings_test_store.h"

using testing_support::Narrow;
using testing_support::ReadBytes;

namespace {

class IniValues : public testing::Test {
 protected:
  void SetUp() override {
    store.Write(TEXT("[s]\r\nnum=42\r\nneg=-1\r\nmagic=-559038741\r\nword=abc\r\n")
                    TEXT("lead=12abc\r\nempty=\r\n"));
    store.root.OpenInto(key, TEXT("s"), FALSE);
    ASSERT_EQ(ProfileKeyMarker(), key.m_hKey);
  }

  IniStore store;
  CSettingsKey key;
};

TEST_F(IniValues, UnnamedStringIsTheAtEntry) {
  EXPECT_EQ(ERROR_SUCCESS, key.SetStringValue(TEXT("first"), nullptr));
  EXPECT_EQ(WString(TEXT("first")), store.Entry(TEXT("s"), TEXT("@")));
  EXPECT_EQ(ERROR_SUCCESS, key.SetStringValue(TEXT("second"), TEXT("")));
  EXPECT_EQ(WString(TEXT("second")), Text(GetStringValue(key, nullptr, nullptr)));
  EXPECT_EQ(WString(TEXT("second")), Text(GetStringValue(key, TEXT(""), nullptr)));
}

TEST_F(IniValues, EqualsSignInANameReachesTheUnderscoreEntry) {
  EXPECT_EQ(ERROR_SUCCESS, key.SetStringValue(TEXT("v1"), TEXT("a=b")));
  EXPECT_EQ(WString(TEXT("v1")), store.Entry(TEXT("s"), TEXT("a_b")));
  EXPECT_EQ(ERROR_SUCCESS, key.SetDwordValue(9, TEXT("a_b")));
  EXPECT_EQ(WString(TEXT("9")), Text(GetStringValue(key, TEXT("a=b"), nullptr)));
}

// An entry is there whatever its text, even one that reads as the default a
// missing entry would give.
TEST_F(IniValues, HasValueTellsAnyEntryFromAMissingOne) {
  store.Write(TEXT("[s]\r\nempty=\r\none=\x01\r\ntwo=\x02\r\n@=\r\n"));
  for (LPCWSTR name : {TEXT("empty"), TEXT("EMPTY"), TEXT("one"), TEXT("two"), TEXT("")}) {
    EXPECT_TRUE(key.HasValue(name)) << Narrow(name);
  }
  EXPECT_FALSE(key.HasValue(TEXT("missing")));
  EXPECT_FALSE(key.HasValue(TEXT("s")));
}

struct DwordCase {
  LPCWSTR name;
  LONG status;
  DWORD value;  // 77 = left as it was
};

class IniDwordRead : public IniValues, public testing::WithParamInterface<DwordCase> {};

TEST_P(IniDwordRead, ReadsSignedDecimalAndRefusesTheMarkerNumber) {
  DWORD value = 77;
  EXPECT_EQ(GetParam().status, key.QueryDwordValue(value, GetParam().name));
  EXPECT_EQ(GetParam().value, value);
}

INSTANTIATE_TEST_SUITE_P(Entries, IniDwordRead,
                         testing::Values(DwordCase{TEXT("num"), 0, 42},
                                         DwordCase{TEXT("neg"), 0, 0xFFFFFFFF},
                                         DwordCase{TEXT("lead"), 0, 12},
                                         DwordCase{TEXT("word"), 0, 0},
                                         DwordCase{TEXT("magic"), ERROR_INVALID_DATA, 77},
                                         DwordCase{TEXT("missing"), ERROR_INVALID_DATA, 77},
                                         DwordCase{nullptr, ERROR_INVALID_DATA, 77},
                                         DwordCase{TEXT(""), ERROR_INVALID_DATA, 77}));

TEST_F(IniValues, NumbersAreWrittenAsSignedDecimal) {
  EXPECT_EQ(ERROR_SUCCESS, key.SetDwordValue(0xFFFFFFFF, TEXT("n")));
  EXPECT_EQ(WString(TEXT("-1")), store.Entry(TEXT("s"), TEXT("n")));
  EXPECT_EQ(ERROR_SUCCESS, key.SetDwordValue(0x80000000, TEXT("n")));
  EXPECT_EQ(WString(TEXT("-2147483648")), store.Entry(TEXT("s"), TEXT("n")));
  DWORD value = 0;
  EXPECT_EQ(ERROR_SUCCESS, key.QueryDwordValue(value, TEXT("n")));
  EXPECT_EQ(0x80000000u, value);
}

TEST_F(IniValues, EmptyOrMissingStringReadsAsInvalidData) {
  for (LPCWSTR name : {TEXT("empty"), TEXT("missing")}) {
    WCHAR text[16] = {'x', 0};
    DWORD bytes = sizeof text;
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryStringValue(text, name, &bytes));
    EXPECT_EQ(0u, bytes);
    EXPECT_EQ(WString(TEXT("dflt")), Text(GetStringValue(key, name, TEXT("dflt"))));
  }
  WCHAR text[16];
  EXPECT_EQ(ERROR_INVALID_DATA, key.QueryStringValue(text, TEXT("word"), nullptr));
}

TEST_F(IniValues, StringReadCountsBytesAndRoundsTheBufferDown) {
  WCHAR text[16];
  DWORD bytes = sizeof text;
  EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue(text, TEXT("word"), &bytes));
  EXPECT_EQ(WString(TEXT("abc")), WString(text));
  EXPECT_EQ(8u, bytes);
  bytes = 7;  // three units: room for two characters and the terminator
  EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue(text, TEXT("word"), &bytes));
  EXPECT_EQ(WString(TEXT("ab")), WString(text));
  EXPECT_EQ(6u, bytes);
}

// A name the INI backend can't give an entry, or text it would turn into a
// deletion, is refused and leaves the section as it was.
TEST_F(IniValues, RefusedWritesChangeNothing) {
  const WString before = store.Lines(TEXT("s"));
  EXPECT_EQ(ERROR_INVALID_DATA, key.SetDwordValue(5, nullptr));
  EXPECT_EQ(ERROR_INVALID_DATA, key.SetDwordValue(5, TEXT("")));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.SetBinaryValue("ab", nullptr, 2));
  EXPECT_EQ(ERROR_INVALID_DATA, key.SetBinaryValue(nullptr, TEXT("bin"), 2));
  EXPECT_EQ(ERROR_INVALID_DATA, key.SetStringValue(nullptr, TEXT("word")));
  EXPECT_EQ(before, store.Lines(TEXT("s")));
}

TEST_F(IniValues, FailedWritesReportTheirBackendStatus) {
  const char *wineDiffers = testing_support::AsWineSuperUser(
      "Wine run by the super-user writes files whose read-only attribute is set");
  testing_support::MakeReadOnly(store.file);
  const std::string before = ReadBytes(store.file);
  LONG status = key.SetDwordValue(1, TEXT("num"));
  testing_support::KnownWineDifference(wineDiffers, [&] { EXPECT_EQ(ERROR_INVALID_DATA, status); });
  status = key.SetStringValue(TEXT("x"), TEXT("word"));
  testing_support::KnownWineDifference(wineDiffers, [&] { EXPECT_EQ(ERROR_INVALID_DATA, status); });
  status = key.SetBinaryValue("ab", TEXT("bin"), 2);
  testing_support::KnownWineDifference(wineDiffers,
                                       [&] { EXPECT_EQ(ERROR_FILE_NOT_FOUND, status); });
  testing_support::KnownWineDifference(wineDiffers,
                                       [&] { EXPECT_EQ(before, ReadBytes(store.file)); });
}

TEST(IniFile, WriteKeepsEveryOtherByte) {
  IniStore store;
  const WString head = TEXT("; settings\r\n[s]\r\nother = spaced\r\n;note\r\nk=");
  const WString tail = TEXT("\r\n\r\n[t]\r\nx=1\r\n");
  store.Write(head + TEXT("old") + tail);
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("s"), FALSE);
  EXPECT_EQ(ERROR_SUCCESS, key.SetStringValue(TEXT("new"), TEXT("k")));
  testing_support::KnownWineDifference("Wine writes the whole file anew from what it parsed", [&] {
    EXPECT_EQ(testing_support::Utf16File(head + TEXT("new") + tail), ReadBytes(store.file));
  });
}

struct BinaryCase {
  LONG oldPlatform;
  DWORD bytes;
  LONG status;
};

class IniBinarySize : public IniValues, public testing::WithParamInterface<BinaryCase> {};

TEST_P(IniBinarySize, OldPlatformsRefuseStructuresAbove32767Bytes) {
  g_oldPlatform = GetParam().oldPlatform;
  std::vector<BYTE> data(GetParam().bytes);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<BYTE>(i * 7);
  EXPECT_EQ(GetParam().status, key.SetBinaryValue(data.data(), TEXT("bin"), GetParam().bytes));
  g_oldPlatform = -1;
  std::vector<BYTE> back(data.size());
  BOOL stored = GetPrivateProfileStructW(TEXT("s"), TEXT("bin"), back.data(),
                                         static_cast<UINT>(back.size()), store.file.c_str());
  EXPECT_EQ(GetParam().status == ERROR_SUCCESS, stored != FALSE);
  if (stored) {
    EXPECT_EQ(data, back);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, IniBinarySize,
                         testing::Values(BinaryCase{1, 32767, ERROR_SUCCESS},
                                         BinaryCase{1, 32768, ERROR_INSUFFICIENT_BUFFER},
                                         BinaryCase{-1, 32768, ERROR_INSUFFICIENT_BUFFER},
                                         BinaryCase{0, 32767, ERROR_SUCCESS},
                                         BinaryCase{0, 32768, ERROR_SUCCESS}));

TEST(IniRoot, ReadAndWriteOneNumberUnderASubKey) {
  IniStore store(TEXT("top"));
  EXPECT_EQ(99u, store.root.ReadDword(TEXT("k"), TEXT("n"), 99));  // no file yet
  EXPECT_TRUE(store.root.WriteDword(TEXT("k"), TEXT("n"), 0xFFFFFFFE));
  EXPECT_EQ(WString(TEXT("-2")), store.Entry(TEXT("top\\k"), TEXT("n")));
  EXPECT_EQ(0xFFFFFFFEu, store.root.ReadDword(TEXT("k"), TEXT("n"), 99));
  EXPECT_EQ(99u, store.root.ReadDword(TEXT("k"), TEXT("other"), 99));
  testing_support::MakeReadOnly(store.file);
  EXPECT_FALSE(store.root.WriteDword(TEXT("k"), TEXT("n"), 1));
  EXPECT_EQ(0xFFFFFFFEu, store.root.ReadDword(TEXT("k"), TEXT("n"), 99));
}

}  // namespace
