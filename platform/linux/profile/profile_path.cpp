#include "profile/profile_path.h"

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
  std::string windowsFolder;
  if (!WindowsFolderHostPath(windowsFolder)) return false;
  hostPath = windowsFolder + "/" + spelled;
  return true;
}

}  // namespace profile
}  // namespace standin
