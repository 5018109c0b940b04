// What another local user, or the super-user, can do to a profile file:
// put something other than a file in its place, leave temporary files
// behind, or write a user's file as root; and names whose bytes are not
// UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

#include "platform_profile/profile_test_support.h"
#include "support/linux/folder_entries.h"
#include "support/linux/odd_files.h"
#include "support/linux/other_user.h"

namespace profile_test {
namespace {

using testing_support::FolderEntries;
using testing_support::Narrow;
using testing_support::Wide;

class ProfileTrust : public ProfileFileTest {
 protected:
  std::string Host() const { return Narrow(PathText()); }
  std::string HostFolder() const { return Narrow(Folder().Path()); }
};

class OddProfileFiles : public ProfileTrust,
                        public testing::WithParamInterface<testing_support::OddFile> {};

// Nothing waits for a FIFO's writer or reads a device; every call fails at
// once and the thing stays as it was.
TEST_P(OddProfileFiles, AreRefusedAtOnce) {
  if (!GetParam().make(Host())) GTEST_SKIP() << "can't be made here (a device needs mknod rights)";
  SetLastError(0);
  HANDLE file = CreateFileW(Path(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(INVALID_HANDLE_VALUE, file);
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_EQ(kMissing, ReadValue(PathText(), "s", "k"));
  EXPECT_FALSE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("1"), Path()));
  struct stat info;
  ASSERT_EQ(0, lstat(Host().c_str(), &info));
  EXPECT_FALSE(S_ISREG(info.st_mode));
}

INSTANTIATE_TEST_SUITE_P(Table, OddProfileFiles, testing::ValuesIn(testing_support::OddFiles()),
                         [](const testing::TestParamInfo<testing_support::OddFile> &info) {
                           return std::string(info.param.label);
                         });

TEST_F(ProfileTrust, TemporaryFilesOfKilledWritersAreSweptByTheNextWrite) {
  Store("[s]\r\nk=1\r\n");
  const std::set<std::string> kept = {"test.ini.addbar-tmp-toolong", "other.ini.addbar-tmp-Ab3dE9"};
  for (const std::string &name : kept) testing_support::WriteBytes(Folder().File(name), "x");
  testing_support::WriteBytes(Folder().File("test.ini.addbar-tmp-Ab3dE9"), "[s]\r\n");
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("2"), Path()));
  std::set<std::string> expected = kept;
  expected.insert("test.ini");
  EXPECT_EQ(expected, FolderEntries(HostFolder()));
}

TEST_F(ProfileTrust, TheSuperUserLeavesAUsersFileTheUsers) {
  if (!testing_support::CanActAsOtherUser())
    GTEST_SKIP() << "only the super-user can write a file another user owns";
  Store("[s]\r\nk=1\r\n");
  ASSERT_EQ(0, chown(Host().c_str(), testing_support::kOtherUser, testing_support::kOtherUser));
  ASSERT_EQ(0, chmod(Host().c_str(), 0600));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("2"), Path()));
  struct stat info;
  ASSERT_EQ(0, stat(Host().c_str(), &info));
  EXPECT_EQ(testing_support::kOtherUser, info.st_uid);
  EXPECT_EQ(testing_support::kOtherUser, info.st_gid);
  EXPECT_EQ(0600u, info.st_mode & 07777);
  EXPECT_EQ("[s]\r\nk=2\r\n", Stored());
}

TEST_F(ProfileTrust, AFileWhoseOwnerCantBeKeptIsNotReplaced) {
  if (!testing_support::CanActAsOtherUser())
    GTEST_SKIP() << "needs another user: only the super-user can act as one";
  Store("[s]\r\nk=1\r\n");
  ASSERT_EQ(0, chmod(Host().c_str(), 0666));
  ASSERT_EQ(0, chmod(HostFolder().c_str(), 0777));
  const WString path = PathText();
  int result = testing_support::RunAsOtherUser([&] {
    return WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("2"), path.c_str()) ? 1 : 0;
  });
  EXPECT_EQ(0, result);
  EXPECT_EQ("[s]\r\nk=1\r\n", Stored());
  struct stat info;
  ASSERT_EQ(0, stat(Host().c_str(), &info));
  EXPECT_EQ(geteuid(), info.st_uid);
}

// A host name that is not UTF-8 reaches the calls with each stray byte as
// one unit U+DC80 + (byte - 0x80), and that unit names the byte again: the
// name never lands on the file its U+FFFD spelling would name.
TEST_F(ProfileTrust, NamesThatAreNotUtf8NameTheirOwnFile) {
  const std::string folder = HostFolder();
  testing_support::WriteBytes(Wide(folder + "/a\xFF.ini"), "[s]\r\nk=byte\r\n");
  testing_support::WriteBytes(Wide(folder + "/a\xEF\xBF\xBD.ini"), "[s]\r\nk=replacement\r\n");
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((Folder().Path() + TEXT("\\a?.ini")).c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  FindClose(search);
  const WString listed = Folder().Path() + TEXT("\\") + found.cFileName;
  const WString escaped = Folder().Path() + TEXT("\\a\xDCFF.ini");
  const WString replacement = Folder().Path() + TEXT("\\a\xFFFD.ini");
  // Both names are listed; whichever came first reads its own file.
  std::string expected = WString(found.cFileName) == TEXT("a\xDCFF.ini") ? "byte" : "replacement";
  EXPECT_EQ(expected, ReadValue(listed, "s", "k"));
  EXPECT_EQ("byte", ReadValue(escaped, "s", "k"));
  EXPECT_EQ("replacement", ReadValue(replacement, "s", "k"));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("edited"), escaped.c_str()));
  EXPECT_EQ("[s]\r\nk=edited\r\n", testing_support::ReadBytes(Wide(folder + "/a\xFF.ini")));
  EXPECT_EQ("[s]\r\nk=replacement\r\n",
            testing_support::ReadBytes(Wide(folder + "/a\xEF\xBF\xBD.ini")));
}

// Units with no host spelling that reads back as themselves are refused, and
// no file is made under another name.
TEST_F(ProfileTrust, NamesWithoutAHostSpellingAreRefused) {
  for (const WString &name : {WString(TEXT("lone\xD800.ini")), WString(TEXT("low\xDC41.ini")),
                              WString(TEXT("pair\xDCC3\xDCA9.ini"))}) {
    const WString path = Folder().Path() + TEXT("\\") + name;
    SetLastError(0);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, file);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), GetLastError());
    EXPECT_FALSE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("1"), path.c_str()));
  }
  EXPECT_TRUE(FolderEntries(HostFolder()).empty());
}

}  // namespace
}  // namespace profile_test
