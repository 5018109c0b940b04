#include "common/replace_temporaries.h"

#include "common/file_name_spelling.h"
#include "common/host_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace standin {

namespace {

const char kMarker[] = ".addbar-tmp-";
const size_t kRandomLength = 6;  // as mkstemp's XXXXXX
const size_t kLongestName = 255;
const char kNameCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
const int kMostTries = 100;

std::string RandomPart() {
  unsigned char random[kRandomLength] = {};
  if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    // No randomness to be had: the clock still makes a clash unlikely, and a
    // clash only costs another try.
    auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (size_t i = 0; i < sizeof random; ++i)
      random[i] ^= static_cast<unsigned char>(now >> (8 * i));
  }
  std::string part;
  for (unsigned char byte : random) part += kNameCharacters[byte % (sizeof kNameCharacters - 1)];
  return part;
}

bool SameFile(const struct stat &a, const struct stat &b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A leftover this user may take away: a plain file of its own with no other
// name, looked at before it is opened (opening a FIFO or a device may do
// something).
bool IsOwnPlainFile(const struct stat &info) { return IsPlainFileOf(info, geteuid()); }

void RemoveIfAbandoned(int folderFd, const std::string &leftover) {
  struct stat found;
  if (fstatat(folderFd, leftover.c_str(), &found, AT_SYMLINK_NOFOLLOW) != 0 ||
      !IsOwnPlainFile(found))
    return;
  int fd = openat(folderFd, leftover.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat opened;
  // A writer at work holds the lock until its rename.
  if (fstat(fd, &opened) == 0 && SameFile(opened, found) && IsOwnPlainFile(opened) &&
      flock(fd, LOCK_EX | LOCK_NB) == 0) {
    struct stat now;
    if (fstatat(folderFd, leftover.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
        SameFile(now, opened))
      unlinkat(folderFd, leftover.c_str(), 0);
  }
  close(fd);
}

}  // namespace

std::string TemporaryPrefix(const std::string &name) {
  std::string prefix = name + kMarker;
  if (prefix.size() + kRandomLength <= kLongestName) return prefix;
  // No room for the whole name: a hash of it still tells whose files they are.
  char hashed[48];
  std::snprintf(hashed, sizeof hashed, "addbar-tmp-%016llx-",
                static_cast<unsigned long long>(NameHash(name)));
  return hashed;
}

int MakeTemporary(int folderFd, const std::string &name, std::string &temporary) {
  const std::string prefix = TemporaryPrefix(name);
  for (int tries = 0; tries < kMostTries; ++tries) {
    temporary = prefix + RandomPart();
    int fd = openat(folderFd, temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    // Between its making and this lock a sweep may have found it unlocked
    // and taken it away: then it has no name any more, and another is made.
    // Where the file system has no locks, sweeps can't take it either.
    bool locked = flock(fd, LOCK_EX | LOCK_NB) == 0;
    struct stat info;
    if ((locked || errno != EWOULDBLOCK) && fstat(fd, &info) == 0 && info.st_nlink > 0) return fd;
    close(fd);
  }
  errno = EEXIST;
  return -1;
}

void SweepTemporaries(int folderFd, const std::string &name) {
  int listingFd = dup(folderFd);
  if (listingFd < 0) return;
  DIR *listing = fdopendir(listingFd);
  if (listing == nullptr) {
    close(listingFd);
    return;
  }
  const std::string prefix = TemporaryPrefix(name);
  std::vector<std::string> leftovers;
  while (const dirent *entry = readdir(listing)) {
    std::string found = entry->d_name;
    if (found.size() == prefix.size() + kRandomLength &&
        found.compare(0, prefix.size(), prefix) == 0)
      leftovers.push_back(found);
  }
  closedir(listing);
  for (const std::string &leftover : leftovers) RemoveIfAbandoned(folderFd, leftover);
}

}  // namespace standin
