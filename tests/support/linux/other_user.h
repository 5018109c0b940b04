// Acting as another local user from a test on Linux: what a hostile user of
// the same machine could do. Only the super-user can become someone else, so
// tests that need it skip otherwise and say why.
#pragma once

#include <sys/types.h>

#include <functional>

namespace testing_support {

// The user (and group) a child becomes: "nobody" on Debian.
const uid_t kOtherUser = 65534;

// Whether this process may act as another user.
bool CanActAsOtherUser();

// Runs `action` in a child process that has become kOtherUser, its user, group
// and supplementary groups. Returns what the action returned (0-255), or -1
// when the child could not switch or did not end normally.
int RunAsOtherUser(const std::function<int()> &action);

// Runs `action` in a child process without the super-user's powers: as
// kOtherUser when this process is the super-user, else as this process's
// own user. Returns as RunAsOtherUser does.
int RunWithoutPrivilege(const std::function<int()> &action);

}  // namespace testing_support
