// The stand-in keeps a parsed INI file between calls and, on a write, brings
// its index of lines and sections up to date for the lines the write touched
// only. Here every write of a long random sequence is checked against the
// file parsed afresh: what the calls list and read before and after the file
// is read again must agree.
#include <windows.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <random>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

using testing_support::Wide;

// Everything the read calls show of the file.
std::string Listing(const WString &file) {
  std::string text;
  for (const std::string &section : ListStrings(SectionNames(file, 1 << 16))) {
    text += "[" + section + "]\n";
    for (const std::string &line : ListStrings(SectionLines(file, section.c_str(), 1 << 16)))
      text += "  " + line + "\n";
  }
  return text;
}

// Makes the next call read the file again: a new modification time is a new
// identity.
void Touch(const WString &file, int step) {
  struct utimbuf times = {1000000 + step, 1000000 + step};
  ASSERT_EQ(0, utime(testing_support::Narrow(file).c_str(), &times));
}

struct Encoding {
  const char *name;
  bool utf16;
};

class EditIndex : public ProfileFileTest, public testing::WithParamInterface<Encoding> {};

TEST_P(EditIndex, EveryWriteLeavesTheIndexAFreshParseWouldGive) {
  const std::string start =
      "; head\r\n[a]\r\nk1=v1\r\n\r\n[b]\nx=1\rlone=cr\r[A]\r\ndup=yes\r\n;c\r\n[c]\r\nlast=no "
      "break";
  Store(GetParam().utf16 ? Utf16Bytes(start) : start);
  // Names and values that make and break lines, headers and comments.
  const char *sections[] = {"a", "b", "A", "c", "new", " spaced ", "d"};
  const char *keys[] = {"k1", "x", "lone", "dup", "last", "n", "\nstarts", "K1", ""};
  const char *values[] = {"",
                          "v",
                          "long value with spaces",
                          "ends\r",
                          "two\r\nlines",
                          "\n[hidden]",
                          "x\r\n[c]\r\nk=v",
                          "\r",
                          "quoted \"q\"",
                          "ü"};
  std::mt19937 random(20240611);
  auto pick = [&](auto &list) { return list[random() % (sizeof list / sizeof list[0])]; };
  for (int step = 0; step < 150; ++step) {
    const WString section = Wide(pick(sections));
    const WString key = Wide(pick(keys));
    const WString value = Wide(pick(values));
    switch (random() % 8) {
      case 0:
        WritePrivateProfileStringW(section.c_str(), key.c_str(), nullptr, Path());
        break;
      case 1:
        WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, Path());
        break;
      default:
        WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), Path());
    }
    const char *readSection = pick(sections);
    const char *readKey = pick(keys);
    const std::string keptListing = Listing(PathText());
    const std::string keptValue = ReadValue(PathText(), readSection, readKey);
    Touch(PathText(), step);
    ASSERT_EQ(keptListing, Listing(PathText())) << "after step " << step;
    ASSERT_EQ(keptValue, ReadValue(PathText(), readSection, readKey)) << "after step " << step;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, EditIndex,
                         testing::Values(Encoding{"EightBit", false}, Encoding{"Utf16", true}),
                         [](const testing::TestParamInfo<Encoding> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace profile_test
