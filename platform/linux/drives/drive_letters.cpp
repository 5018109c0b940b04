#include "drives/drive_letters.h"

#include <dirent.h>

#include "common/environment.h"
#include "common/home_folder.h"

namespace standin {

DWORD DriveMaskFromLetters(const std::string &letters) {
  DWORD mask = 0;
  for (char letter : letters) {
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter >= 'A' && letter <= 'Z') mask |= 1u << (letter - 'A');
  }
  return mask;
}

DWORD DriveMaskOfWinePrefix(const std::string &prefix) {
  DIR *devices = opendir((prefix + "/dosdevices").c_str());
  if (devices == nullptr) return 0;
  DWORD mask = 0;
  while (struct dirent *entry = readdir(devices)) {
    const char *name = entry->d_name;
    // "c::" and the like name raw devices, not drives.
    if (name[0] != '\0' && name[1] == ':' && name[2] == '\0') {
      mask |= DriveMaskFromLetters(std::string(1, name[0]));
    }
  }
  closedir(devices);
  return mask;
}

static std::string WinePrefix() {
  const std::string prefix = HostVariable("WINEPREFIX");
  if (!prefix.empty()) return prefix;
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : home + "/.wine";
}

DWORD LogicalDriveMask() {
  const char *chosen = VariableValue(StandinVariable::Drives);
  if (chosen != nullptr) return DriveMaskFromLetters(chosen);
  const std::string prefix = WinePrefix();
  if (!prefix.empty()) {
    DWORD mask = DriveMaskOfWinePrefix(prefix);
    if (mask != 0) return mask;
  }
  return 1u << ('C' - 'A');
}

}  // namespace standin
