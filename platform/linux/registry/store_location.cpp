#include "registry/store_location.h"

#include "common/environment.h"
#include "common/home_folder.h"

namespace standin {

std::string StoreFilePath() {
  std::string chosen = VariableText(StandinVariable::Registry);
  if (!chosen.empty()) return chosen;
  // Relative or empty values are to be ignored, as the base-directory rules say.
  std::string config = HostVariable("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') {
    std::string home = HomeFolder();
    config = (home.empty() ? std::string(".") : home) + "/.config";
  }
  return config + "/addbar/registry.reg";
}

}  // namespace standin
