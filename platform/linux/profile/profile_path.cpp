#include "profile/profile_path.h"

#include <cstdlib>

#include "common/host_path.h"

namespace standin {
namespace profile {

namespace {

bool IsBareName(WStringView name) {
  for (WCHAR unit : name) {
    if (unit == '\\' || unit == '/') return false;
  }
  // "C:name" is relative to a drive, not to the Windows folder.
  return !(name.size() >= 2 && name[1] == ':');
}

}  // namespace

bool ResolveProfilePath(LPCWSTR fileName, std::string &hostPath) {
  WStringView name = ViewOf(fileName);
  if (name.empty()) return false;
  std::string spelled;
  if (!ToHostPath(name, spelled)) return false;
  if (!IsBareName(name)) {
    hostPath = spelled;
    return true;
  }
  const char *windowsFolder = std::getenv("ADDBAR_WINDOWS_DIR");
  if (windowsFolder == nullptr || *windowsFolder == '\0') return false;
  hostPath = std::string(windowsFolder) + "/" + spelled;
  return true;
}

}  // namespace profile
}  // namespace standin
