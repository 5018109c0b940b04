#include "support/linux/odd_files.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

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

}  // namespace testing_support
