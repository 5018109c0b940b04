#include "common/home_folder.h"

#include <pwd.h>
#include <unistd.h>

#include "common/environment.h"

namespace standin {

std::string HomeFolder() {
  std::string home = HostVariable("HOME");
  return home.empty() ? AccountHomeFolder() : home;
}

std::string AccountHomeFolder() {
  const passwd *user = getpwuid(geteuid());
  return user != nullptr && user->pw_dir != nullptr ? std::string(user->pw_dir) : std::string();
}

}  // namespace standin
