// Waiting for a child process to end on Linux. The wait is woken by the end
// itself (a pidfd), not by looking again and again.
#pragma once

#include <sys/types.h>

namespace testing_support {

// Waits at most `timeoutMs` milliseconds (-1: without limit) for the child
// `pid` to end, and reaps it. True with its wait status once it has ended;
// false when the time ran out or the child can't be waited for.
bool WaitForChildEnd(pid_t pid, int timeoutMs, int &status);

}  // namespace testing_support
