#include "text_calls/case_mapping.h"

#include "tables/unicode_tables.h"

namespace standin {

WCHAR LowerOf(WCHAR unit) {
  // ASCII first, without the search: nearly every name is ASCII.
  if (unit < 0x80) return unit >= 'A' && unit <= 'Z' ? static_cast<WCHAR>(unit + 32) : unit;
  return MapCase(kLowerCaseRuns, kLowerCaseRunCount, unit);
}

}  // namespace standin
