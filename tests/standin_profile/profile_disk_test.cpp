// How a write reaches the disk: atomically, through symbolic links, with the
// file's permissions, and never read stale afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "platform_profile/profile_test_support.h"
#include "support/linux/folder_entries.h"

namespace profile_test {
namespace {

using testing_support::FolderEntries;
using testing_support::Narrow;

class ProfileOnDisk : public ProfileFileTest {
 protected:
  std::string Host() const { return Narrow(PathText()); }
};

TEST_F(ProfileOnDisk, ReplacementLeavesNoTemporaryFile) {
  Store("[s]\r\nk=1\r\n");
  struct stat before, after;
  ASSERT_EQ(0, stat(Host().c_str(), &before));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("22"), Path()));
  ASSERT_EQ(0, stat(Host().c_str(), &after));
  EXPECT_NE(before.st_ino, after.st_ino) << "the file is replaced by a rename, not rewritten";
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("1"), Path()));
    ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("j"), nullptr, Path()));
    ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("22"), Path()));
  }
  EXPECT_EQ(std::set<std::string>{"test.ini"}, FolderEntries(Narrow(Folder().Path())));
}

TEST_F(ProfileOnDisk, PermissionsAreKept) {
  Store("[s]\r\nk=1\r\n");
  ASSERT_EQ(0, chmod(Host().c_str(), 0640));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("2"), Path()));
  struct stat info;
  ASSERT_EQ(0, stat(Host().c_str(), &info));
  EXPECT_EQ(0640u, info.st_mode & 07777);
}

TEST_F(ProfileOnDisk, SymbolicLinkStaysALinkAndItsTargetIsWritten) {
  const WString target = Folder().File("real.ini");
  testing_support::WriteBytes(target, "[s]\r\nk=1\r\n");
  ASSERT_EQ(0, symlink("real.ini", Host().c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("2"), Path()));
  struct stat info;
  ASSERT_EQ(0, lstat(Host().c_str(), &info));
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ("[s]\r\nk=2\r\n", testing_support::ReadBytes(target));
  EXPECT_EQ("2", ReadValue(PathText(), "s", "k"));
}

TEST_F(ProfileOnDisk, DanglingLinkGetsItsTargetCreated) {
  ASSERT_EQ(0, symlink("later.ini", Host().c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("v"), Path()));
  EXPECT_EQ("[s]\r\nk=v\r\n", testing_support::ReadBytes(Folder().File("later.ini")));
}

// Another process rewrites the file with the same size and modification time:
// the change time, or the inode, still tells the read that it changed.
TEST_F(ProfileOnDisk, ExternalChangeIsSeenEvenWithTheSameSizeAndTime) {
  Store("[s]\r\nk=aaa\r\n");
  EXPECT_EQ("aaa", ReadValue(PathText(), "s", "k"));
  struct stat before;
  ASSERT_EQ(0, stat(Host().c_str(), &before));

  int fd = open(Host().c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(3, pwrite(fd, "bbb", 3, 7));
  const struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(0, futimens(fd, times));
  close(fd);
  EXPECT_EQ("bbb", ReadValue(PathText(), "s", "k"));

  const WString other = Folder().File("other.ini");
  testing_support::WriteBytes(other, "[s]\r\nk=ccc\r\n");
  struct stat now;
  ASSERT_EQ(0, stat(Host().c_str(), &now));
  const struct timespec same[2] = {now.st_atim, now.st_mtim};
  ASSERT_EQ(0, utimensat(AT_FDCWD, Narrow(other).c_str(), same, 0));
  ASSERT_EQ(0, rename(Narrow(other).c_str(), Host().c_str()));
  EXPECT_EQ("ccc", ReadValue(PathText(), "s", "k"));
}

// The stand-in keeps a line's parts in 32 bits: a file of 4 GiB (sparse
// here) is refused whole, by reads and writes alike, and stays as it is.
TEST_F(ProfileOnDisk, AFileOfFourGibibytesIsRefusedAndKept) {
  Store("[s]\r\nk=1\r\n");
  const off_t fourGibibytes = off_t(1) << 32;
  ASSERT_EQ(0, truncate(Host().c_str(), fourGibibytes));
  EXPECT_EQ(kMissing, ReadValue(PathText(), "s", "k"));
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("2"), Path()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
  struct stat info;
  ASSERT_EQ(0, stat(Host().c_str(), &info));
  EXPECT_EQ(fourGibibytes, info.st_size);
  EXPECT_EQ(std::set<std::string>{"test.ini"}, FolderEntries(Narrow(Folder().Path())));
}

TEST_F(ProfileOnDisk, FolderInPlaceOfTheFileIsNeverWritten) {
  ASSERT_EQ(0, mkdir(Host().c_str(), 0755));
  EXPECT_EQ(kMissing, ReadValue(PathText(), "s", "k"));
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("v"), Path()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
}

}  // namespace
}  // namespace profile_test
