#include "app/path_probe.h"

int ProbePath(LPCWSTR path) {
  if (path == nullptr || path[0] == 0) return 0;
  DWORD attributes;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(path, &found);
  if (search != INVALID_HANDLE_VALUE) {
    FindClose(search);
    attributes = found.dwFileAttributes;
  } else {
    // A drive root such as C:\ is no search result, but it has attributes.
    attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? -1 : 1;
}

CString FileNameOf(const CString &path) { return path.Mid(path.ReverseFind(TEXT('\\')) + 1); }
