#include "windows/window_folder.h"

#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include <cerrno>
#include <cstdlib>

#include "common/atomic_file.h"
#include "common/file_name_spelling.h"

namespace standin {

std::string WindowFolderPath() {
  const char *chosen = std::getenv("ADDBAR_WINDOWS");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  const char *runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') return std::string(runtime) + "/addbar-windows";
  return "/tmp/addbar-windows-" + std::to_string(static_cast<unsigned long>(geteuid()));
}

bool IsUsableWindowFolder(const std::string &path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode) || info.st_uid != geteuid()) return false;
  if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) return false;
  return (info.st_mode & (S_IWUSR | S_IXUSR)) == (S_IWUSR | S_IXUSR);
}

DWORD PrepareWindowFolder(const std::string &path) {
  if (mkdir(path.c_str(), 0700) == 0) {
    // The umask may have taken bits away; the folder is the user's alone.
    chmod(path.c_str(), 0700);
  } else if (errno != EEXIST) {
    return Win32ErrorFromErrno(errno);
  }
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
