// Windows times SetTimer and Sleep by the system tick, and moves the system
// time once per tick.
#include <windows.h>

#include "support/program_clock.h"

namespace testing_support {

uint64_t ProgramClockMs() { return GetTickCount64(); }

DWORD ProgramTimerSlackMs() {
  DWORD adjustment = 0, increment = 0;  // the tick, in 100 ns units
  BOOL disabled = FALSE;
  if (!GetSystemTimeAdjustment(&adjustment, &increment, &disabled) || increment == 0) {
    increment = 156250;  // the usual 15.625 ms
  }
  return (increment + 9999) / 10000;
}

uint64_t SystemTimeTicks() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

}  // namespace testing_support
