// The neutral reading of INI bytes: encodings, line ends, and how each line
// is told apart, independent of any profile call.
#include <gtest/gtest.h>

#include <string>

#include "ini_layout.h"

namespace {

struct LayoutCase {
  const char *name;
  std::string bytes;
  std::string expected;  // "topic: content" lines
};

void PrintTo(const LayoutCase &c, std::ostream *out) { *out << c.name; }

std::string Utf16(const std::string &ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) bytes += std::string(1, c) + '\0';
  return bytes;
}

class IniLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(IniLayout, DescribesTheBytesOfTheTable) {
  std::string described;
  for (const replay::LayoutRecord &record : replay::DescribeIniBytes(GetParam().bytes)) {
    described += record.topic + ": " + record.content + "\n";
  }
  EXPECT_EQ(GetParam().expected, described);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniLayout,
    testing::Values(LayoutCase{"Empty", "",
                               "raw encoding: 8-bit\n"
                               "raw shape: lines=0 blank=0 ends=none final-break=no\n"},
                    LayoutCase{"MarkOnly", "\xFF\xFE",
                               "raw encoding: utf-16le\n"
                               "raw shape: lines=0 blank=0 ends=none final-break=no\n"},
                    LayoutCase{"EightBitEntry", "[s]\r\nk = v\r\n",
                               "raw encoding: 8-bit\n"
                               "raw shape: lines=2 blank=0 ends=crlf final-break=yes\n"
                               "raw sect.1: header \"[s]\"\n"
                               "raw sect.1.1: entry \"k\" = \"v\"\n"},
                    LayoutCase{"Utf16Entry", Utf16("[s]\r\nk=v\r\n"),
                               "raw encoding: utf-16le\n"
                               "raw shape: lines=2 blank=0 ends=crlf final-break=yes\n"
                               "raw sect.1: header \"[s]\"\n"
                               "raw sect.1.1: entry \"k\" = \"v\"\n"},
                    LayoutCase{"Utf16OddByte", Utf16("[s]") + "x",
                               "raw encoding: utf-16le odd byte\n"
                               "raw shape: lines=1 blank=0 ends=none final-break=no\n"
                               "raw sect.1: header \"[s]\"\n"},
                    LayoutCase{"EveryLineEnd", "a\r\n\nb\rc",
                               "raw encoding: 8-bit\n"
                               "raw shape: lines=4 blank=1 ends=mixed final-break=no\n"
                               "raw head.1: text \"a\"\n"
                               "raw head.2: text \"b\"\n"
                               "raw head.3: text \"c\"\n"},
                    LayoutCase{"LfThenCrAreTwoLines", "\n\r",
                               "raw encoding: 8-bit\n"
                               "raw shape: lines=2 blank=2 ends=mixed final-break=yes\n"},
                    LayoutCase{"KindsOfLine",
                               " ; c \r\n[s]x]\r\n\t k  =  a=b  \r\nplain\r\n;x=y\r\n",
                               "raw encoding: 8-bit\n"
                               "raw shape: lines=5 blank=0 ends=crlf final-break=yes\n"
                               "raw head.1: comment \"; c\"\n"
                               "raw sect.1: header \"[s]x]\"\n"
                               "raw sect.1.1: entry \"k\" = \"a=b\"\n"
                               "raw sect.1.2: text \"plain\"\n"
                               "raw sect.1.3: comment \";x=y\"\n"},
                    LayoutCase{"NumbersRestartPerSection", "[a]\nx=1\n[b]\ny=2\n",
                               "raw encoding: 8-bit\n"
                               "raw shape: lines=4 blank=0 ends=lf final-break=yes\n"
                               "raw sect.1: header \"[a]\"\n"
                               "raw sect.1.1: entry \"x\" = \"1\"\n"
                               "raw sect.2: header \"[b]\"\n"
                               "raw sect.2.1: entry \"y\" = \"2\"\n"},
                    LayoutCase{"BytesBeyondAscii", "[caf\xC3\xA9]\r",
                               "raw encoding: 8-bit\n"
                               "raw shape: lines=1 blank=0 ends=cr final-break=yes\n"
                               "raw sect.1: header \"[caf\\xc3\\xa9]\"\n"},
                    LayoutCase{"Utf16NullUnit", std::string("\xFF\xFEk\0=\0\0\0v\0", 10),
                               "raw encoding: utf-16le\n"
                               "raw shape: lines=1 blank=0 ends=none final-break=no\n"
                               "raw head.1: entry \"k\" = \"\\u0000v\"\n"}),
    [](const testing::TestParamInfo<LayoutCase> &info) { return std::string(info.param.name); });

}  // namespace
