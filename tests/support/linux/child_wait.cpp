#include "support/linux/child_wait.h"

#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>

namespace testing_support {

namespace {

using Clock = std::chrono::steady_clock;

// Rounded up: a wait never ends before its deadline.
int MillisecondsLeft(Clock::time_point deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
  if (left.count() <= 0) return 0;
  return left.count() > INT_MAX ? INT_MAX : static_cast<int>(left.count());
}

}  // namespace

bool WaitForChildEnd(pid_t pid, int timeoutMs, int &status) {
  pid_t done = waitpid(pid, &status, WNOHANG);
  if (done == pid) return true;
  if (done < 0) return false;
  int ending = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (ending < 0) return false;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  bool ended = false;
  for (;;) {
    int wait = timeoutMs < 0 ? -1 : MillisecondsLeft(deadline);
    struct pollfd ready = {ending, POLLIN, 0};
    int polled = poll(&ready, 1, wait);
    if (polled < 0 && errno == EINTR) continue;
    if (polled > 0) {
      pid_t reaped;
      do {
        reaped = waitpid(pid, &status, 0);
      } while (reaped < 0 && errno == EINTR);
      ended = reaped == pid;
      break;
    }
    if (polled < 0 || Clock::now() >= deadline) break;
  }
  close(ending);
  return ended;
}

}  // namespace testing_support
