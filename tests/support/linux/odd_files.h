// Things that sit where a regular file is expected: what a store or an INI
// file may turn out to be on a hostile machine.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct OddFile {
  const char *label;
  // Makes the thing at `path`; false when this machine won't (a device needs
  // mknod rights).
  bool (*make)(const std::string &path);
};

// A FIFO, a folder and a character device.
std::vector<OddFile> OddFiles();

}  // namespace testing_support
