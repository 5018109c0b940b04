// Values: every type round trip, sizes, too-small buffers, terminators.
#include <cstring>
#include <initializer_list>

#include "registry_fixture.h"

namespace {

struct TypedValue {
  const char *label;
  DWORD type;
  std::string bytes;
};

class ValueRoundTrip : public RegistryTest, public testing::WithParamInterface<TypedValue> {};

TEST_P(ValueRoundTrip, ReadsBackTypeAndBytes) {
  const TypedValue &value = GetParam();
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(m_base, TEXT("v"), 0, value.type,
                                          reinterpret_cast<const BYTE *>(value.bytes.data()),
                                          static_cast<DWORD>(value.bytes.size())));
  ReadValue read = Read(m_base, TEXT("v"));
  EXPECT_EQ(ERROR_SUCCESS, read.status);
  EXPECT_EQ(value.type, read.type);
  EXPECT_EQ(value.bytes, read.bytes);
}

std::string Bytes(std::initializer_list<unsigned> list) {
  std::string bytes;
  for (unsigned b : list) bytes += static_cast<char>(b);
  return bytes;
}

const WCHAR kNul = 0;

INSTANTIATE_TEST_SUITE_P(
    EveryType, ValueRoundTrip,
    testing::Values(
        TypedValue{"sz", REG_SZ, TextBytes(WString(TEXT("text \"q\" \\ \x00e9")) + kNul)},
        TypedValue{"empty_sz", REG_SZ, TextBytes(WString(1, kNul))},
        TypedValue{"sz_no_bytes", REG_SZ, std::string()},
        TypedValue{"expand_sz", REG_EXPAND_SZ, TextBytes(WString(TEXT("%TEMP%\\x")) + kNul)},
        TypedValue{"multi_sz", REG_MULTI_SZ,
                   TextBytes(WString(TEXT("one")) + kNul + TEXT("two") + kNul + kNul)},
        TypedValue{"dword", REG_DWORD, Bytes({0x2A, 0, 0, 0x80})},
        TypedValue{"binary", REG_BINARY, Bytes({0, 1, 0xFF, 0x7F, 0x80})},
        TypedValue{"empty_binary", REG_BINARY, std::string()},
        TypedValue{"qword", REG_QWORD, Bytes({1, 2, 3, 4, 5, 6, 7, 8})},
        TypedValue{"none", REG_NONE, Bytes({9, 8})},
        TypedValue{"big_endian_dword", REG_DWORD_BIG_ENDIAN, Bytes({0, 0, 0, 1})},
        TypedValue{"sz_with_line_breaks", REG_SZ, TextBytes(WString(TEXT("a\r\nb")) + kNul)},
        TypedValue{"sz_with_inner_null", REG_SZ,
                   TextBytes(WString(TEXT("a")) + kNul + TEXT("b") + kNul)},
        TypedValue{"sz_odd_bytes", REG_SZ, Bytes({'a', 0, 'b'})}),
    [](const testing::TestParamInfo<TypedValue> &info) { return std::string(info.param.label); });

TEST_F(RegistryTest, SizesAndTooSmallBuffersAnswerAsWindowsDoes) {
  SetString(m_base, TEXT("s"), TEXT("hello"));  // 12 bytes with the terminator
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(m_base, TEXT("s"), nullptr, &type, nullptr, &size));
  EXPECT_EQ(12u, size);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);

  BYTE buffer[16];
  memset(buffer, 0xBD, sizeof buffer);
  size = 11;
  type = 0;
  EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExW(m_base, TEXT("s"), nullptr, &type, buffer, &size));
  EXPECT_EQ(12u, size) << "the size needed";
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(0xBD, buffer[0]) << "a buffer too small stays untouched";

  size = 12;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(m_base, TEXT("s"), nullptr, nullptr, buffer, &size));
  EXPECT_EQ(12u, size);
  EXPECT_EQ(0xBD, buffer[12]) << "nothing written past the data";
}

TEST_F(RegistryTest, AMissingValueIsNotFound) {
  DWORD size = 77;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegQueryValueExW(m_base, TEXT("none"), nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(0u, size) << "asked for the size only, the caller is told 0";
  BYTE buffer[4];
  size = sizeof buffer;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegQueryValueExW(m_base, TEXT("none"), nullptr, nullptr, buffer, &size));
  EXPECT_EQ(4u, size);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueW(m_base, TEXT("none")));
}

TEST_F(RegistryTest, StringsKeepOrGainTheirTerminatorAsWindowsDecides) {
  const WCHAR text[] = TEXT("abcd");
  // The count leaves out "d" and the terminator: stored without one.
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(m_base, TEXT("cut"), 0, REG_SZ,
                                          reinterpret_cast<const BYTE *>(text), 6));
  // The count leaves out only the terminator that follows: it is counted in.
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(m_base, TEXT("whole"), 0, REG_SZ,
                                          reinterpret_cast<const BYTE *>(text), 8));
  EXPECT_EQ(TextBytes(TEXT("abc")), Read(m_base, TEXT("cut")).bytes);
  EXPECT_EQ(TextBytes(WString(TEXT("abcd")) + kNul), Read(m_base, TEXT("whole")).bytes);

  // Read into a roomy buffer, unterminated text gets a terminator after it,
  // while the size still counts the stored bytes only.
  BYTE buffer[16];
  memset(buffer, 0xBD, sizeof buffer);
  DWORD size = sizeof buffer;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(m_base, TEXT("cut"), nullptr, nullptr, buffer, &size));
  EXPECT_EQ(6u, size);
  EXPECT_EQ(0, buffer[6]);
  EXPECT_EQ(0, buffer[7]);
  memset(buffer, 0xBD, sizeof buffer);
  size = 6;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(m_base, TEXT("cut"), nullptr, nullptr, buffer, &size));
  EXPECT_EQ(0xBD, buffer[6]) << "no room, no terminator";
}

TEST_F(RegistryTest, TheUnnamedValueIsNullOrEmpty) {
  ASSERT_EQ(ERROR_SUCCESS, SetDword(m_base, TEXT(""), 5));
  ReadValue read = Read(m_base, nullptr);
  EXPECT_EQ(ERROR_SUCCESS, read.status);
  EXPECT_EQ(4u, read.bytes.size());
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueW(m_base, nullptr));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Read(m_base, TEXT("")).status);
}

TEST_F(RegistryTest, ValueNamesIgnoreCaseAndKeepTheirSpelling) {
  SetDword(m_base, TEXT("Counter"), 1);
  SetDword(m_base, TEXT("COUNTER"), 2);
  EXPECT_EQ(1u, ValueCount(m_base));
  WCHAR name[16];
  DWORD length = 16;
  ASSERT_EQ(ERROR_SUCCESS,
            RegEnumValueW(m_base, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(WString(TEXT("Counter")), WString(name));
  EXPECT_EQ(std::string("\x02\0\0\0", 4), Read(m_base, TEXT("counter")).bytes);
}

TEST_F(RegistryTest, WritingTheSameDataLeavesTheKeyTimeAlone) {
  SetDword(m_base, TEXT("v"), 1);
  uint64_t first = LastWrite(m_base);
  WaitForTheClockToPass(first);
  SetDword(m_base, TEXT("v"), 1);
  EXPECT_EQ(first, LastWrite(m_base));
  SetDword(m_base, TEXT("v"), 2);
  EXPECT_GT(LastWrite(m_base), first);
  uint64_t second = LastWrite(m_base);
  WaitForTheClockToPass(second);
  RegDeleteValueW(m_base, TEXT("v"));
  EXPECT_GT(LastWrite(m_base), second);
}

TEST_F(RegistryTest, BadDataArgumentsAreRefused) {
  const LONG kInvalidAccessToMemory = 998;  // ERROR_NOACCESS
  EXPECT_EQ(kInvalidAccessToMemory, RegSetValueExW(m_base, TEXT("v"), 0, REG_SZ, nullptr, 2));
  EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(m_base, TEXT("v"), 0, REG_BINARY, nullptr, 0));
  DWORD reserved = 0, size = 4;
  BYTE buffer[4];
  EXPECT_EQ(ERROR_INVALID_PARAMETER,
            RegQueryValueExW(m_base, TEXT("v"), &reserved, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_INVALID_PARAMETER,
            RegQueryValueExW(m_base, TEXT("v"), nullptr, nullptr, buffer, nullptr));
}

TEST_F(RegistryTest, ValueNamesUpToWindowsLimitAreKept) {
  WString longest(16383, TEXT('v'));
  WString tooLong(16384, TEXT('v'));
  EXPECT_EQ(ERROR_SUCCESS, SetDword(m_base, longest, 1));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, SetDword(m_base, tooLong, 1));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Read(m_base, tooLong.c_str()).status);
  EXPECT_EQ(ERROR_SUCCESS, Read(m_base, longest.c_str()).status);
}

TEST_F(RegistryTest, LargeValuesRoundTrip) {
  std::string big(3 * 1024 * 1024 + 7, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 + (i >> 9));
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(m_base, TEXT("big"), 0, REG_BINARY,
                                          reinterpret_cast<const BYTE *>(big.data()),
                                          static_cast<DWORD>(big.size())));
  ReadValue read = Read(m_base, TEXT("big"));
  EXPECT_EQ(ERROR_SUCCESS, read.status);
  EXPECT_TRUE(read.bytes == big);
}

}  // namespace
