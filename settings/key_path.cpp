#include "settings/key_path.h"

namespace {

bool EndsWithBackslash(const CString &text) {
  return !text.IsEmpty() && text.GetAt(text.GetLength() - 1) == TEXT('\\');
}

CString WithoutLastUnit(const CString &text) { return text.Left(text.GetLength() - 1); }

}  // namespace

CString JoinKeyPath(const CString &path, LPCWSTR name) {
  CString child(name);
  CString joined;
  if (path.IsEmpty()) {
    joined = child;
  } else if (EndsWithBackslash(path)) {
    joined = child.IsEmpty() ? WithoutLastUnit(path) : path + child;
  } else {
    joined = child.IsEmpty() ? path : path + TEXT("\\") + child;
  }
  if (EndsWithBackslash(joined)) joined = WithoutLastUnit(joined);
  return joined;
}
