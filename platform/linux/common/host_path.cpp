#include "host_path.h"

namespace standin {

std::string ToHostPath(WStringView path) {
  std::string host = ToUtf8(path);
  for (char &c : host) {
    if (c == '\\') c = '/';
  }
  return host;
}

std::string ToHostPath(LPCWSTR path) { return ToHostPath(ViewOf(path)); }

WString FromHostPath(const std::string &path) {
  WString wide = FromUtf8(path);
  for (WCHAR &c : wide) {
    if (c == u'/') c = u'\\';
  }
  return wide;
}

}  // namespace standin
