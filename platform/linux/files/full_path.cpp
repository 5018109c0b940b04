// GetFullPathNameW and GetWindowsDirectoryW: paths the way the stand-in's
// file calls resolve them. A path that begins with a separator is absolute
// on the host, any other is relative to the current folder (there are no
// drives); "." and ".." are taken out as Windows does, without looking at the
// file system. GetFinalPathNameByHandleW: the path the host knows an open
// file by, links resolved.
#include <windows.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "common/host_path.h"
#include "common/win32_error.h"
#include "files/file_handle.h"
#include "handles/handle_table.h"

namespace {

using standin::WString;

bool IsSeparator(WCHAR unit) { return unit == u'\\' || unit == u'/'; }

bool CurrentFolder(WString &folder) {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return false;
    buffer.resize(buffer.size() * 2);
  }
  folder = standin::FromHostPath(buffer.data());
  return true;
}

// Joins the components of an absolute path, dropping "." and ".." with
// what they stand for; a trailing separator stays.
WString Normalised(const WString &absolute) {
  std::vector<WString> parts;
  WString part;
  for (size_t i = 0; i <= absolute.size(); ++i) {
    if (i < absolute.size() && !IsSeparator(absolute[i])) {
      part += absolute[i];
      continue;
    }
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    part.clear();
  }
  WString result;
  for (const WString &name : parts) result += u"\\" + name;
  if (result.empty() || IsSeparator(absolute.back())) result += u'\\';
  return result;
}

// The Win32 rule for returning a path: its length when it fits with its
// terminator, else the size it needs, terminator included.
DWORD CopyOut(const WString &text, DWORD size, LPWSTR buffer) {
  DWORD length = static_cast<DWORD>(text.size());
  if (buffer == nullptr || size <= length) return length + 1;
  text.copy(buffer, length);
  buffer[length] = 0;
  return length;
}

}  // namespace

DWORD WINAPI GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer,
                              LPWSTR *lpFilePart) {
  if (lpFilePart != nullptr) *lpFilePart = nullptr;
  if (lpFileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WString name(standin::ViewOf(lpFileName));
  if (name.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  WString absolute = name;
  if (!IsSeparator(name[0])) {
    WString folder;
    if (!CurrentFolder(folder)) {
      SetLastError(standin::Win32ErrorFromErrno(errno));
      return 0;
    }
    absolute = folder + u"\\" + name;
  }
  WString full = Normalised(absolute);
  DWORD result = CopyOut(full, nBufferLength, lpBuffer);
  if (result < nBufferLength && lpFilePart != nullptr && full.back() != u'\\') {
    *lpFilePart = lpBuffer + full.rfind(u'\\') + 1;
  }
  return result;
}

UINT WINAPI GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize) {
  std::string folder;
  if (!standin::WindowsFolderHostPath(folder)) {
    // The stand-in has a Windows folder only when ADDBAR_WINDOWS_DIR names one.
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  WCHAR full[32768];
  DWORD length = GetFullPathNameW(standin::FromHostPath(folder).c_str(), 32768, full, nullptr);
  if (length == 0 || length >= 32768) return 0;
  WString path(full, length);
  // Like Windows' own, the folder ends without a separator unless it is a root.
  if (path.size() > 1 && path.back() == u'\\') path.pop_back();
  return CopyOut(path, uSize, lpBuffer);
}

// The host has one volume, with neither a letter nor a name: the DOS form is
// the "\\?\" prefix and the full path as GetFullPathNameW spells it, so that
// taking the prefix off gives the path the other calls hand out; the form
// without volume is that full path alone. A volume's GUID or device name
// does not exist here.
DWORD WINAPI GetFinalPathNameByHandleW(HANDLE hFile, LPWSTR lpszFilePath, DWORD cchFilePath,
                                       DWORD dwFlags) {
  const DWORD volume = dwFlags & (VOLUME_NAME_GUID | VOLUME_NAME_NT | VOLUME_NAME_NONE);
  if ((dwFlags & ~(FILE_NAME_OPENED | VOLUME_NAME_GUID | VOLUME_NAME_NT | VOLUME_NAME_NONE)) != 0 ||
      (volume != VOLUME_NAME_DOS && volume != VOLUME_NAME_NONE)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::shared_ptr<standin::FileHandle> file = standin::FindHandleOf<standin::FileHandle>(hFile);
  if (file == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  // The kernel keeps the path each open file was reached by, links resolved.
  struct stat info;
  std::vector<char> target(4096);
  const std::string link = "/proc/self/fd/" + std::to_string(file->Fd());
  ssize_t length;
  while ((length = readlink(link.c_str(), target.data(), target.size())) ==
         static_cast<ssize_t>(target.size()))
    target.resize(target.size() * 2);
  if (length <= 0 || target[0] != '/' || fstat(file->Fd(), &info) != 0) {
    SetLastError(standin::Win32ErrorFromErrno(length < 0 ? errno : ENOENT));
    return 0;
  }
  // A file removed since it was opened has no path left.
  if (info.st_nlink == 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  WString path = standin::FromHostPath(std::string(target.data(), static_cast<size_t>(length)));
  if (volume == VOLUME_NAME_DOS) path = u"\\\\?\\" + path;
  return CopyOut(path, cchFilePath, lpszFilePath);
}
