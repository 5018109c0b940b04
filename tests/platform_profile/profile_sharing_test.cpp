// A file held open by another handle: the profile calls and CreateFileW
// respect the holder's share mode.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform_profile/profile_test_support.h"

namespace profile_test {
namespace {

struct HeldCase {
  DWORD access;
  DWORD share;
  bool writeWorks;
  bool readWorks;
};

void PrintTo(const HeldCase &c, std::ostream *out) {
  *out << "access " << std::hex << c.access << ", share " << c.share;
}

class HeldFile : public ProfileFileTest, public testing::WithParamInterface<HeldCase> {};

TEST_P(HeldFile, ProfileCallsGetPastOnlyWhatTheHolderShares) {
  const HeldCase &c = GetParam();
  Store("[s]\r\nk=123\r\n");
  HANDLE held = CreateFileW(Path(), c.access, c.share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  SetLastError(0xDEADBEEF);
  BOOL written = WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("456"), Path());
  DWORD error = GetLastError();
  std::string read = ReadValue(PathText(), "s", "k");
  CloseHandle(held);
  EXPECT_EQ(c.writeWorks, written != FALSE);
  if (!c.writeWorks) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), error);
  }
  EXPECT_EQ(c.readWorks ? (c.writeWorks ? "456" : "123") : kMissing, read);
}

const DWORD kRead = GENERIC_READ, kWrite = GENERIC_WRITE, kBoth = GENERIC_READ | GENERIC_WRITE;
const DWORD kShareRead = FILE_SHARE_READ, kShareWrite = FILE_SHARE_WRITE;

// Windows' results, from Wine's test_profile_existing.
INSTANTIATE_TEST_SUITE_P(Table, HeldFile,
                         testing::Values(HeldCase{kRead, kShareRead, false, true},
                                         HeldCase{kRead, kShareWrite, false, false},
                                         HeldCase{kWrite, kShareRead, false, true},
                                         HeldCase{kWrite, kShareWrite, false, false},
                                         HeldCase{kBoth, kShareRead, false, true},
                                         HeldCase{kBoth, kShareWrite, false, false},
                                         HeldCase{kRead, kShareRead | kShareWrite, true, true},
                                         HeldCase{kWrite, kShareRead | kShareWrite, true, true},
                                         HeldCase{kBoth, kShareRead | kShareWrite, true, true}));

TEST_F(ProfileFileTest, SecondOpenMustShareWhatTheFirstUses) {
  Store("x");
  HANDLE first = CreateFileW(Path(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, first);
  const struct {
    DWORD access, share;
    bool opens;
  } opens[] = {{GENERIC_READ, FILE_SHARE_READ, true},
               {GENERIC_READ, FILE_SHARE_WRITE, false},
               {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
               {0, 0, true}};
  for (const auto &o : opens) {
    SetLastError(0);
    HANDLE second = CreateFileW(Path(), o.access, o.share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(o.opens, second != INVALID_HANDLE_VALUE) << o.access << " " << o.share;
    if (second != INVALID_HANDLE_VALUE) {
      CloseHandle(second);
    } else {
      EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
    }
  }
  CloseHandle(first);
}

}  // namespace
}  // namespace profile_test
