#include "common/host_path.h"

#include "common/unicode.h"

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

}  // namespace standin
