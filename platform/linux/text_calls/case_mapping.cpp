#include "text_calls/case_mapping.h"

#include <algorithm>

namespace standin {

WCHAR LowerOf(WCHAR unit) {
  // ASCII first, without the search: nearly every name is ASCII.
  if (unit < 0x80) return unit >= 'A' && unit <= 'Z' ? static_cast<WCHAR>(unit + 32) : unit;
  const LowerCaseRun *end = kLowerCaseRuns + kLowerCaseRunCount;
  const LowerCaseRun *after = std::upper_bound(
      kLowerCaseRuns, end, unit, [](WCHAR u, const LowerCaseRun &run) { return u < run.first; });
  if (after == kLowerCaseRuns) return unit;
  const LowerCaseRun &run = *(after - 1);
  if (unit > run.last || (unit - run.first) % run.step != 0) return unit;
  return static_cast<WCHAR>(unit + run.delta);
}

}  // namespace standin
