#include "text_calls/char_class.h"

#include "tables/unicode_tables.h"

namespace standin {

WORD CType1Of(WCHAR unit) { return CharClassBits(unit) & static_cast<WORD>(~kNonspacingMark); }

bool IsNonspacingMark(WCHAR unit) { return (CharClassBits(unit) & kNonspacingMark) != 0; }

}  // namespace standin
