// The Unicode tables the stand-in's text and registry calls look code units
// up in, for the whole Basic Multilingual Plane. They are generated from the
// Unicode Character Database by the scripts beside them (make_text_tables.py,
// make_upcase_table.py).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace standin {

// Every unit from `first` up to the next run's first has the class `bits`:
// CT_CTYPE1 bits, and 0x8000 on nonspacing and enclosing marks. The first run
// starts at unit 0.
struct CharClassRun {
  WORD first;
  WORD bits;
};
extern const CharClassRun kCharClassRuns[];
extern const size_t kCharClassRunCount;

// Every `step`-th unit from `first` to `last` maps to itself plus `delta`.
struct CaseRun {
  WORD first;
  WORD last;
  int32_t delta;
  WORD step;
};
// Windows' lower-case mapping, the same for every locale.
extern const CaseRun kLowerCaseRuns[];
extern const size_t kLowerCaseRunCount;
// The upper case that registry names are compared in.
extern const CaseRun kUpcaseRuns[];
extern const size_t kUpcaseRunCount;

// The class bits of `unit` (kCharClassRuns).
WORD CharClassBits(WCHAR unit);

// `unit` as the case runs `runs` map it; itself where none does.
WCHAR MapCase(const CaseRun *runs, size_t count, WCHAR unit);

}  // namespace standin
