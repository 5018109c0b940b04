// The stand-in's waits run on the monotonic clock and never end early; its
// registry stamps keys with the real-time clock.
#include <time.h>

#include "support/program_clock.h"

namespace testing_support {

uint64_t ProgramClockMs() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}

DWORD ProgramTimerSlackMs() { return 0; }

uint64_t SystemTimeTicks() {
  const uint64_t kTicksBefore1970 = 116444736000000000ULL;
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return kTicksBefore1970 + static_cast<uint64_t>(now.tv_sec) * 10000000 +
         static_cast<uint64_t>(now.tv_nsec) / 100;
}

}  // namespace testing_support
