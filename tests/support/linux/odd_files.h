// Things that sit where a regular file is expected: what a store, an INI file
// or a lock file may turn out to be on a hostile machine.
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

// What may be planted where a lock file is to be: a symbolic link to the
// missing file `other`; a hard link to the user's file `other` (mode 0644);
// a file of another user (only the super-user can make one: false
// elsewhere); a FIFO.
struct PlantedFile {
  const char *label;
  bool (*make)(const std::string &path, const std::string &other);
};
std::vector<PlantedFile> PlantedLockFiles();

// What can be seen of a path without following it: type, mode, owner, links
// and size, or "none"; equal before and after when nothing changed it.
std::string Describe(const std::string &path);

}  // namespace testing_support
