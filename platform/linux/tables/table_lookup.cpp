#include <algorithm>

#include "tables/unicode_tables.h"

namespace standin {

WORD CharClassBits(WCHAR unit) {
  const CharClassRun *end = kCharClassRuns + kCharClassRunCount;
  const CharClassRun *after = std::upper_bound(
      kCharClassRuns, end, unit, [](WCHAR u, const CharClassRun &run) { return u < run.first; });
  return after == kCharClassRuns ? 0 : (after - 1)->bits;
}

WCHAR MapCase(const CaseRun *runs, size_t count, WCHAR unit) {
  const CaseRun *after = std::upper_bound(
      runs, runs + count, unit, [](WCHAR u, const CaseRun &run) { return u < run.first; });
  if (after == runs) return unit;
  const CaseRun &run = *(after - 1);
  if (unit > run.last || (unit - run.first) % run.step != 0) return unit;
  return static_cast<WCHAR>(unit + run.delta);
}

}  // namespace standin
