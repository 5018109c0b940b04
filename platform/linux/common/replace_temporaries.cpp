#include "common/replace_temporaries.h"

#include "common/file_name_spelling.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace standin {

namespace {

const char kMarker[] = ".addbar-tmp-";
const size_t kRandomLength = 6;  // mkstemp's XXXXXX
const size_t kLongestName = 255;

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
  for (const std::string &leftover : leftovers) unlinkat(folderFd, leftover.c_str(), 0);
}

}  // namespace standin
