#include "common/folders.h"

#include <sys/stat.h>

#include <cerrno>

namespace standin {

std::string FolderOf(const std::string &hostPath) {
  size_t slash = hostPath.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return hostPath.substr(0, slash);
}

std::string NameOf(const std::string &hostPath) {
  size_t slash = hostPath.rfind('/');
  return slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
}

bool MakeParentFolders(const std::string &hostPath) {
  for (size_t slash = hostPath.find('/', 1); slash != std::string::npos;
       slash = hostPath.find('/', slash + 1)) {
    if (mkdir(hostPath.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

}  // namespace standin
