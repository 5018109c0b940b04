// Windows' lower-case mapping of UTF-16 code units: one unit to one unit, the
// same for every locale.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace standin {

// Every `step`-th unit from `first` to `last` maps to itself plus `delta`.
// The table is generated (tables/make_text_tables.py).
struct LowerCaseRun {
  WORD first;
  WORD last;
  int32_t delta;
  WORD step;
};
extern const LowerCaseRun kLowerCaseRuns[];
extern const size_t kLowerCaseRunCount;

WCHAR LowerOf(WCHAR unit);

}  // namespace standin
