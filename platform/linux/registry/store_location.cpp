#include "registry/store_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace standin {

namespace {

std::string Variable(const char *name) {
  const char *value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string HomeFolder() {
  std::string home = Variable("HOME");
  if (!home.empty()) return home;
  const passwd *user = getpwuid(getuid());
  return user != nullptr && user->pw_dir != nullptr ? std::string(user->pw_dir) : std::string(".");
}

}  // namespace

std::string StoreFilePath() {
  std::string chosen = Variable("ADDBAR_REGISTRY");
  if (!chosen.empty()) return chosen;
  // Relative or empty values are to be ignored, as the base-directory rules say.
  std::string config = Variable("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = HomeFolder() + "/.config";
  return config + "/addbar/registry.reg";
}

}  // namespace standin
