#include "common/host_path.h"

#include "common/environment.h"

namespace standin {

bool ToHostPath(WStringView path, std::string &host) {
  if (!ToHostBytes(path, host)) return false;
  for (char &c : host) {
    if (c == '\\') c = '/';
  }
  return true;
}

bool ToHostPath(LPCWSTR path, std::string &host) { return ToHostPath(ViewOf(path), host); }

WString FromHostPath(const std::string &path) {
  WString wide = FromHostBytes(path);
  for (WCHAR &c : wide) {
    if (c == u'/') c = u'\\';
  }
  return wide;
}

bool WindowsFolderHostPath(std::string &hostPath) {
  std::string folder = VariableText(StandinVariable::WindowsDir);
  if (folder.empty()) return false;
  hostPath = folder;
  return true;
}

}  // namespace standin
