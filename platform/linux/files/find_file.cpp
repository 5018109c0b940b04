// FindFirstFileW and FindClose on the stand-in: wild cards in the last
// component, or a plain name that finds the file or folder itself.
#include <windows.h>

#include <dirent.h>
#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "common/folders.h"
#include "common/host_path.h"
#include "common/name_fold.h"
#include "files/file_facts.h"
#include "files/path_status.h"
#include "files/wildcard.h"
#include "handles/handle_table.h"

namespace {

// A search hands out its first match at once and keeps nothing: its handle
// only has to be closed with FindClose.
class SearchHandle : public standin::Handle {
 public:
  bool IsKernelObject() const override { return false; }
  void Close() override {}
};

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

// A drive root ("C:", "C:\") or anything ending in a separator names no
// entry a search can find.
bool NamesNoEntry(standin::WStringView pattern) {
  if (pattern.empty()) return true;
  if (pattern.back() == '\\' || pattern.back() == '/') return true;
  return pattern.size() == 2 && pattern[1] == ':';
}

bool Fill(const std::string &path, const standin::WString &name, WIN32_FIND_DATAW &data) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 && lstat(path.c_str(), &info) != 0) return false;
  if (name.size() >= MAX_PATH) return false;
  std::memset(&data, 0, sizeof data);
  data.dwFileAttributes = standin::AttributesOf(path, info);
  standin::FileTimes times = standin::FileTimesOfPath(path, info);
  data.ftCreationTime = times.created;
  data.ftLastAccessTime = times.accessed;
  data.ftLastWriteTime = times.written;
  if (!S_ISDIR(info.st_mode)) {
    uint64_t size = static_cast<uint64_t>(info.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
  }
  std::memcpy(data.cFileName, name.data(), name.size() * sizeof(WCHAR));
  return true;
}

// The entries of `folder` that match `pattern`, in the order a search on
// Windows gives them: "." and ".." first, then by name without regard to
// case. `error` tells why there are none.
std::vector<standin::WString> Matches(const std::string &folder, standin::WStringView pattern,
                                      DWORD &error) {
  std::vector<standin::WString> names;
  DIR *listing = opendir(folder.c_str());
  if (listing == nullptr) {
    error = errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                : standin::PathError(folder, errno);
    return names;
  }
  while (const struct dirent *entry = readdir(listing)) {
    standin::WString name = standin::FromHostPath(entry->d_name);
    if (standin::MatchesWildcards(name, pattern)) names.push_back(name);
  }
  closedir(listing);
  auto rank = [](const standin::WString &name) { return name == u"." ? 0 : name == u".." ? 1 : 2; };
  std::sort(names.begin(), names.end(), [&](const standin::WString &a, const standin::WString &b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    return standin::FoldName(a) < standin::FoldName(b);
  });
  error = names.empty() ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS;
  return names;
}

}  // namespace

HANDLE WINAPI FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
  if (lpFileName == nullptr || lpFindFileData == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  standin::WStringView pattern = standin::ViewOf(lpFileName);
  if (NamesNoEntry(pattern)) return Fail(ERROR_FILE_NOT_FOUND);
  std::string path;
  if (!standin::ToHostPath(pattern, path)) return Fail(ERROR_INVALID_NAME);
  const std::string last = standin::NameOf(path);
  const std::string folder = standin::FolderOf(path);
  const standin::WString lastName = standin::FromHostPath(last);

  if (!standin::HasWildcards(lastName)) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return Fail(standin::PathError(path, errno));
    if (!Fill(path, lastName, *lpFindFileData)) return Fail(ERROR_FILE_NOT_FOUND);
  } else {
    DWORD error;
    std::vector<standin::WString> names = Matches(folder, lastName, error);
    bool found = false;
    for (const standin::WString &name : names) {
      std::string hostName;
      // Names listed from the host always have a spelling there.
      if (!standin::ToHostPath(name, hostName)) continue;
      if (Fill(folder + "/" + hostName, name, *lpFindFileData)) {
        found = true;
        break;
      }
    }
    if (!found) return Fail(error == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : error);
  }
  SetLastError(ERROR_SUCCESS);
  return standin::AddHandle(std::make_shared<SearchHandle>());
}

BOOL WINAPI FindClose(HANDLE hFindFile) {
  std::shared_ptr<standin::Handle> search =
      standin::RemoveHandle(hFindFile, [](const standin::Handle &open) {
        return dynamic_cast<const SearchHandle *>(&open) != nullptr;
      });
  if (search == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  search->Close();
  return TRUE;
}
