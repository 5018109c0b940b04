// Waits with a deadline on the monotonic clock. The host's waits (poll) take
// whole milliseconds: the time left is rounded up, never down, so that a
// wait never ends before its deadline.
#pragma once

#include <chrono>
#include <climits>

namespace standin {

using MonotonicClock = std::chrono::steady_clock;

// The whole milliseconds left until `deadline`, rounded up (at most INT_MAX);
// 0 once the deadline has passed.
inline int MillisecondsLeft(MonotonicClock::time_point deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - MonotonicClock::now());
  if (left.count() <= 0) return 0;
  return left.count() > INT_MAX ? INT_MAX : static_cast<int>(left.count());
}

}  // namespace standin
