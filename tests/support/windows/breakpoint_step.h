// Moves a thread's context past the one-byte breakpoint instruction that
// raised EXCEPTION_BREAKPOINT, so that execution can go on behind it. The
// instruction pointer has another name on each processor, so each has a file.
#pragma once

#include <windows.h>

namespace testing_support {

void StepPastBreakpoint(CONTEXT *context);

}  // namespace testing_support
