// Key and value names compare as the registry compares them: unit by unit
// after mapping each UTF-16 unit to its upper case, so "Software" and
// "SOFTWARE" name the same key and sorted listings follow that order.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "common/unicode.h"

namespace standin {

// Units beyond ASCII, looked up in the upper-case table
// (tables/unicode_tables.h).
WCHAR UpcaseTableUnit(WCHAR unit);
// Names are nearly always ASCII: that case stays inline.
inline WCHAR UpcaseUnit(WCHAR unit) {
  if (unit < 0x80) return (unit >= u'a' && unit <= u'z') ? static_cast<WCHAR>(unit - 32) : unit;
  return UpcaseTableUnit(unit);
}
WString UpcaseName(WStringView name);

// Negative, zero or positive, like a three-way comparison of the upper-cased
// names.
int CompareNames(WStringView left, WStringView right);
bool SameName(WStringView left, WStringView right);
// The same three-way comparison where the left name is upper-cased already
// (by UpcaseName): only the right one is mapped, unit by unit.
int CompareWithUpcased(WStringView upcased, WStringView name);

}  // namespace standin
