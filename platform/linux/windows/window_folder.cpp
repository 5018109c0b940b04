#include "windows/window_folder.h"

#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include <cerrno>

#include "common/environment.h"
#include "common/file_name_spelling.h"
#include "common/folders.h"
#include "common/home_folder.h"
#include "common/win32_error.h"

namespace standin {

namespace {

const char kFolderName[] = "addbar-windows";

bool IsOwnFolder(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid();
}

// An absolute path to a folder the user owns, or to none yet in a folder the
// user owns.
bool IsOwnOrMakeable(const std::string &path) {
  if (path.empty() || path[0] != '/') return false;
  struct stat info;
  if (stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode) && info.st_uid == geteuid();
  return errno == ENOENT && IsOwnFolder(FolderOf(path));
}

// The cache folder the default place is in; empty when there is none. The
// home is the password database's when $HOME is not the user's own (a
// super-user keeping a user's $HOME must not make folders there).
std::string CacheFolder() {
  std::string chosen = HostVariable("XDG_CACHE_HOME");
  if (IsOwnOrMakeable(chosen)) return chosen;
  std::string home = HomeFolder();
  if (!home.empty() && IsOwnOrMakeable(home + "/.cache")) return home + "/.cache";
  std::string account = AccountHomeFolder();
  if (!account.empty() && IsOwnOrMakeable(account + "/.cache")) return account + "/.cache";
  return std::string();
}

// The folder that may be made before the window folder: the cache folder
// when the default place is in it.
std::string MakeableParent() {
  if (!VariableText(StandinVariable::Windows).empty()) return std::string();
  std::string runtime = HostVariable("XDG_RUNTIME_DIR");
  if (!runtime.empty() && runtime[0] == '/' && IsOwnFolder(runtime)) return std::string();
  return CacheFolder();
}

}  // namespace

std::string WindowFolderPath() {
  std::string chosen = VariableText(StandinVariable::Windows);
  if (!chosen.empty()) return chosen;
  std::string runtime = HostVariable("XDG_RUNTIME_DIR");
  if (!runtime.empty() && runtime[0] == '/' && IsOwnFolder(runtime))
    return runtime + "/" + kFolderName;
  std::string cache = CacheFolder();
  return cache.empty() ? std::string() : cache + "/" + kFolderName;
}

bool MakeSessionFolder(const std::string &path) {
  if (path.empty()) {
    errno = ENOENT;
    return false;
  }
  int made = mkdir(path.c_str(), 0700);
  if (made != 0 && errno == ENOENT) {
    const std::string parent = MakeableParent();
    bool hasParent = !parent.empty() && parent == FolderOf(path) &&
                     (mkdir(parent.c_str(), 0700) == 0 || errno == EEXIST);
    if (hasParent)
      made = mkdir(path.c_str(), 0700);
    else
      errno = ENOENT;
  }
  if (made == 0) {
    // The umask may have taken bits away; the folder is the user's alone.
    chmod(path.c_str(), 0700);
    return true;
  }
  return errno == EEXIST;
}

bool IsUsableWindowFolder(const std::string &path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode) || info.st_uid != geteuid()) return false;
  if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) return false;
  return (info.st_mode & (S_IWUSR | S_IXUSR)) == (S_IWUSR | S_IXUSR);
}

DWORD PrepareWindowFolder(const std::string &path) {
  if (!MakeSessionFolder(path)) return Win32ErrorFromErrno(errno);
  return IsUsableWindowFolder(path) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

namespace {

// Lower-cases one unit with the host's Unicode tables; units those tables
// don't know, and surrogates, stay as they are.
WCHAR LowerUnit(WCHAR unit) {
  if (unit < 0x80) return (unit >= u'A' && unit <= u'Z') ? static_cast<WCHAR>(unit + 32) : unit;
  if (unit >= 0xD800 && unit <= 0xDFFF) return unit;
  static locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (unicode == static_cast<locale_t>(0)) return unit;
  wint_t lower = towlower_l(static_cast<wint_t>(unit), unicode);
  return lower <= 0xFFFF ? static_cast<WCHAR>(lower) : unit;
}

bool IsPlain(WCHAR unit, size_t) {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'0' && unit <= u'9') || unit == u'_' ||
         unit == u'-';
}

// Room is left in a 255-byte file name for the separator and the tag.
const size_t kLongestKey = 200;

}  // namespace

std::string WindowTitleKey(WStringView title) {
  WString lowered;
  lowered.reserve(title.size());
  for (WCHAR unit : title) lowered += LowerUnit(unit);
  return SpellAsFileName(lowered, IsPlain, kLongestKey);
}

}  // namespace standin
