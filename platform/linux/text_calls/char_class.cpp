#include "text_calls/char_class.h"

#include <algorithm>

namespace standin {

static WORD ClassBits(WCHAR unit) {
  const CharClassRun *end = kCharClassRuns + kCharClassRunCount;
  const CharClassRun *after = std::upper_bound(
      kCharClassRuns, end, unit, [](WCHAR u, const CharClassRun &run) { return u < run.first; });
  // The first run starts at unit 0, so every unit has a run at or before it.
  return after == kCharClassRuns ? 0 : (after - 1)->bits;
}

WORD CType1Of(WCHAR unit) { return ClassBits(unit) & static_cast<WORD>(~kNonspacingMark); }

bool IsNonspacingMark(WCHAR unit) { return (ClassBits(unit) & kNonspacingMark) != 0; }

}  // namespace standin
