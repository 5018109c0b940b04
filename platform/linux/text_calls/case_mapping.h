// Windows' lower-case mapping of UTF-16 code units: one unit to one unit, the
// same for every locale.
#pragma once

#include <windows.h>

namespace standin {

// `unit` lower-cased, from the table in tables/unicode_tables.h.
WCHAR LowerOf(WCHAR unit);

}  // namespace standin
