// The character classes of UTF-16 code units, as Windows reports them through
// GetStringTypeExW(CT_CTYPE1), for the whole Basic Multilingual Plane.
#pragma once

#include <windows.h>

#include <cstddef>

namespace standin {

// One run of the table: every unit from `first` up to the next run's first
// has the class `bits`. The table is generated (tables/make_text_tables.py).
struct CharClassRun {
  WORD first;
  WORD bits;
};
extern const CharClassRun kCharClassRuns[];
extern const size_t kCharClassRunCount;

// Not a CT_CTYPE1 bit: set on nonspacing and enclosing marks, which belong to
// the character before them when text is stepped through character by character.
constexpr WORD kNonspacingMark = 0x8000;

// The CT_CTYPE1 bits of one code unit.
WORD CType1Of(WCHAR unit);

bool IsNonspacingMark(WCHAR unit);

}  // namespace standin
