// The clocks the platform under test keeps time by, for tests about time:
// the one delays are timed by (the monotonic clock on Linux, the tick count
// on Windows), and the system time that stamps registry keys.
#pragma once

#include <windows.h>

#include <cstdint>

namespace testing_support {

// The clock's reading in whole milliseconds.
uint64_t ProgramClockMs();

// How much earlier than asked a timed wait of the programs may end by that
// clock: none on the stand-in, one clock tick on Windows, whose timers are
// rounded to the tick.
DWORD ProgramTimerSlackMs();

// The system time as key times hold it: 100 ns ticks since 1601-01-01 UTC.
// On Windows it moves once per clock tick.
uint64_t SystemTimeTicks();

}  // namespace testing_support
