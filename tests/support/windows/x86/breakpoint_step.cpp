#include "support/windows/breakpoint_step.h"

namespace testing_support {

void StepPastBreakpoint(CONTEXT *context) { context->Eip += 1; }

}  // namespace testing_support
