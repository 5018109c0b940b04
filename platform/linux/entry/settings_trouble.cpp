#include "entry/settings_trouble.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/atomic_file.h"
#include "common/host_file.h"
#include "common/store_report.h"
#include "files/last_file_asked.h"
#include "registry/store_location.h"

namespace standin {

namespace {

bool StartsWith(const WString &text, const char *prefix) {
  const WString wide = FromUtf8(prefix);
  return text.compare(0, wide.size(), wide) == 0;
}

// What keeps the file from serving as the settings; empty when it can be
// read (and, for a write, written).
std::string FileTrouble(const std::string &path, bool writing) {
  OpenedFile file = OpenRegularFile(path, O_RDONLY);
  if (file.otherKind) return "can't be read: it is not a regular file";
  if (file.fd < 0) {
    return file.error == ENOENT ? "does not exist" : "can't be read: " + ReasonOf(file.error);
  }
  close(file.fd);
  if (writing && !PermissionBitsAllowWriting(path)) return "can't be written: it is read-only";
  return std::string();
}

}  // namespace

void NoteSettingsTrouble(const WString &boxText) {
  const bool locating = StartsWith(boxText, "cannot locate toolbar settings");
  const bool writing = StartsWith(boxText, "cannot write toolbar settings");
  if (!locating && !writing) return;
  if (StoreProblemReported()) return;  // a settings call has said which file and why

  // In INI mode the INI file is the one file addbar opens with CreateFileW;
  // in registry mode it opens none.
  const std::string ini = LastFileAskedFor();
  const bool registry = ini.empty();
  const std::string path = registry ? ResolveLinkTarget(StoreFilePath()) : ini;
  std::string trouble = FileTrouble(path, writing);
  if (registry && trouble == "does not exist") {
    trouble += ", so it holds no settings (ADDBAR_REGISTRY chooses the file)";
  } else if (trouble.empty() && locating) {
    trouble = registry ? "holds no toolbar settings: no key \"MainFrame Settings\\Toolbars\" in "
                         "the chosen layout, as where vantrove never saved its settings"
                       : "holds no toolbar settings: no section \"[...\\MainFrame "
                         "Settings\\Toolbars]\" of the chosen layout with lines in it, as where "
                         "vantrove never saved its settings";
  } else if (trouble.empty()) {
    // No store call failed, so the run stopped itself: most likely its
    // toolbars or bookmarks could not all be listed.
    trouble =
        "could not be changed as the run needed, or holds more toolbars or bookmarks in one "
        "place than can be listed whole (over 1024)";
  }
  ReportStoreProblem((registry ? "the registry store " : "the INI file ") + path + " " + trouble +
                     ".");
}

}  // namespace standin
