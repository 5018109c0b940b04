#include "support/linux/odd_files.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>

#include "support/linux/other_user.h"

namespace testing_support {

std::vector<OddFile> OddFiles() {
  return {
      {"fifo", [](const std::string &path) { return mkfifo(path.c_str(), 0600) == 0; }},
      {"folder", [](const std::string &path) { return mkdir(path.c_str(), 0700) == 0; }},
      {"device",
       [](const std::string &path) {
         return mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0;  // /dev/zero
       }},
  };
}

namespace {

bool MakeFile(const std::string &path, mode_t mode) {
  std::ofstream(path) << "someone's data";
  return chmod(path.c_str(), mode) == 0;
}

}  // namespace

std::vector<PlantedFile> PlantedLockFiles() {
  return {
      {"symbolic_link",
       [](const std::string &path, const std::string &other) {
         return symlink(other.c_str(), path.c_str()) == 0;
       }},
      {"hard_link",
       [](const std::string &path, const std::string &other) {
         return MakeFile(other, 0644) && link(other.c_str(), path.c_str()) == 0;
       }},
      {"another_users_file",
       [](const std::string &path, const std::string &) {
         return CanActAsOtherUser() && MakeFile(path, 0600) &&
                chown(path.c_str(), kOtherUser, kOtherUser) == 0;
       }},
      {"fifo", [](const std::string &path,
                  const std::string &) { return mkfifo(path.c_str(), 0600) == 0; }},
  };
}

std::string Describe(const std::string &path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return "none";
  return std::to_string(info.st_mode) + " " + std::to_string(info.st_uid) + ":" +
         std::to_string(info.st_gid) + " links " + std::to_string(info.st_nlink) + " size " +
         std::to_string(info.st_size);
}

}  // namespace testing_support
