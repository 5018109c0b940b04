#include "support/linux/other_user.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

bool CanActAsOtherUser() { return geteuid() == 0; }

namespace {

int RunInChild(bool switchUser, const std::function<int()> &action) {
  pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (switchUser &&
        (setgroups(0, nullptr) != 0 || setgid(kOtherUser) != 0 || setuid(kOtherUser) != 0))
      _exit(255);
    _exit(action() & 0xFF);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  int code = WEXITSTATUS(status);
  return code == 255 ? -1 : code;
}

}  // namespace

int RunAsOtherUser(const std::function<int()> &action) { return RunInChild(true, action); }

int RunWithoutPrivilege(const std::function<int()> &action) {
  return RunInChild(CanActAsOtherUser(), action);
}

}  // namespace testing_support
