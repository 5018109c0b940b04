#include "support/linux/folder_entries.h"

#include <dirent.h>

namespace testing_support {

std::set<std::string> FolderEntries(const std::string &folder) {
  std::set<std::string> names;
  DIR *listing = opendir(folder.c_str());
  if (listing == nullptr) return names;
  while (const dirent *entry = readdir(listing)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.insert(name);
  }
  closedir(listing);
  return names;
}

}  // namespace testing_support
