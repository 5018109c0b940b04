// GetLogicalDriveStringsW: sizes and contents as Windows documents them, on
// the stand-in and under Wine; and where the stand-in takes its drives from.
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::ScopedEnvironment;
using testing_support::TempDir;

namespace {

const WCHAR kUntouched = 0x7E7E;

// The roots of a drive list as narrow texts; an entry that is not letter,
// colon, backslash and null fails the test.
std::vector<std::string> RootsOf(const std::vector<WCHAR> &buffer, DWORD length) {
  std::vector<std::string> roots;
  for (DWORD i = 0; i + 4 <= length; i += 4) {
    EXPECT_TRUE(buffer[i] >= 'A' && buffer[i] <= 'Z') << "entry " << i / 4;
    EXPECT_EQ(buffer[i + 1], ':');
    EXPECT_EQ(buffer[i + 2], '\\');
    EXPECT_EQ(buffer[i + 3], 0);
    roots.push_back(Narrow(WString(&buffer[i], 3)));
  }
  return roots;
}

TEST(LogicalDriveStrings, SizeAskedWithoutBufferCountsTheLastTerminator) {
  DWORD needed = GetLogicalDriveStringsW(0, nullptr);
  EXPECT_EQ(needed % 4, 1u);
}

class TooSmallBuffer : public testing::TestWithParam<DWORD> {};

TEST_P(TooSmallBuffer, GetsNothingAndLearnsTheSizeNeeded) {
  DWORD needed = GetLogicalDriveStringsW(0, nullptr);
  ASSERT_GE(needed, GetParam());
  DWORD size = needed - GetParam();
  std::vector<WCHAR> buffer(needed + 1, kUntouched);
  EXPECT_EQ(GetLogicalDriveStringsW(size, buffer.data()), needed);
  for (WCHAR unit : buffer) ASSERT_EQ(unit, kUntouched);
}

// One unit short (the last terminator), a whole entry short, all of it short.
INSTANTIATE_TEST_SUITE_P(Shortfalls, TooSmallBuffer, testing::Values(1u, 4u, 5u));

TEST(LogicalDriveStrings, FittingBufferGetsEveryRootInLetterOrder) {
  DWORD needed = GetLogicalDriveStringsW(0, nullptr);
  std::vector<WCHAR> buffer(needed + 2, kUntouched);
  DWORD length = GetLogicalDriveStringsW(needed, buffer.data());
  ASSERT_EQ(length, needed - 1);
  std::vector<std::string> roots = RootsOf(buffer, length);
  for (size_t i = 1; i < roots.size(); ++i) EXPECT_LT(roots[i - 1], roots[i]);
  EXPECT_EQ(buffer[length], 0);
  EXPECT_EQ(buffer[length + 1], kUntouched);
}

// ---- Where the stand-in's drives come from ---------------------------------------------

std::vector<std::string> CurrentRoots() {
  std::vector<WCHAR> buffer(260, kUntouched);
  DWORD length = GetLogicalDriveStringsW(260, buffer.data());
  EXPECT_LT(length, 260u);
  EXPECT_EQ(buffer[length], 0);
  return RootsOf(buffer, length);
}

struct LettersCase {
  const char *letters;
  std::vector<std::string> roots;
};

class DriveLettersVariable : public testing::TestWithParam<LettersCase> {};

TEST_P(DriveLettersVariable, ChoosesTheDrives) {
  SKIP_UNLESS_STANDIN("ADDBAR_DRIVES is the stand-in's own");
  ScopedEnvironment drives("ADDBAR_DRIVES", GetParam().letters);
  EXPECT_EQ(CurrentRoots(), GetParam().roots);
}

std::vector<std::string> AllRoots() {
  std::vector<std::string> roots;
  for (char letter = 'A'; letter <= 'Z'; ++letter) roots.push_back(std::string(1, letter) + ":\\");
  return roots;
}

INSTANTIATE_TEST_SUITE_P(Letters, DriveLettersVariable,
                         testing::Values(LettersCase{"ACD", {"A:\\", "C:\\", "D:\\"}},
                                         LettersCase{"dca", {"A:\\", "C:\\", "D:\\"}},
                                         LettersCase{"CcCc", {"C:\\"}},
                                         LettersCase{"C1D2:\\ ", {"C:\\", "D:\\"}},
                                         LettersCase{"ABCDEFGHIJKLMNOPQRSTUVWXYZABCD", AllRoots()},
                                         LettersCase{"", {}}, LettersCase{"0123456789", {}}));

TEST(DriveLettersVariable, NoDrivesGiveAnEmptyList) {
  SKIP_UNLESS_STANDIN("ADDBAR_DRIVES is the stand-in's own");
  ScopedEnvironment drives("ADDBAR_DRIVES", "");
  EXPECT_EQ(GetLogicalDriveStringsW(0, nullptr), 1u);
  WCHAR buffer[2] = {kUntouched, kUntouched};
  EXPECT_EQ(GetLogicalDriveStringsW(1, buffer), 0u);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[1], kUntouched);
}

// Without ADDBAR_DRIVES: the drives of the Wine prefix, else C: alone.
struct PrefixCase {
  const char *name;
  std::vector<std::string> entries;  // made in dosdevices; empty: no such folder
  bool throughHome;                  // prefix found as ~/.wine, not $WINEPREFIX
  std::vector<std::string> roots;
};

class WinePrefixDrives : public testing::TestWithParam<PrefixCase> {};

TEST_P(WinePrefixDrives, ComeFromDosDevices) {
  SKIP_UNLESS_STANDIN("the stand-in reads the Wine prefix itself");
  TempDir home;
  std::string prefix = Narrow(home.Path()) + "/.wine";
  if (!GetParam().entries.empty()) {
    std::string devices = prefix + "/dosdevices";
    ASSERT_TRUE(std::filesystem::create_directories(devices));
    for (const std::string &entry : GetParam().entries) {
      if (entry != "-")
        testing_support::WriteBytes(testing_support::Wide(devices + "/" + entry), "");
    }
  }
  ScopedEnvironment drives("ADDBAR_DRIVES", nullptr);
  ScopedEnvironment winePrefix("WINEPREFIX", GetParam().throughHome ? nullptr : prefix.c_str());
  ScopedEnvironment homeFolder("HOME", Narrow(home.Path()).c_str());
  EXPECT_EQ(CurrentRoots(), GetParam().roots);
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, WinePrefixDrives,
    testing::Values(PrefixCase{"Drives",
                               {"c:", "z:", "a:", "c::", "d::", "readme"},
                               false,
                               {"A:\\", "C:\\", "Z:\\"}},
                    PrefixCase{"InHome", {"d:", "c:"}, true, {"C:\\", "D:\\"}},
                    PrefixCase{"NoDriveEntries", {"-", "c::"}, false, {"C:\\"}},
                    PrefixCase{"EmptyFolder", {"-"}, false, {"C:\\"}},
                    PrefixCase{"NoPrefix", {}, false, {"C:\\"}}),
    [](const testing::TestParamInfo<PrefixCase> &info) { return std::string(info.param.name); });

}  // namespace
