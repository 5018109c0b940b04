// One line of a profile file and what it is, found from the units alone.
// Every character the syntax looks at ('[', ']', '=', ';', quotes, blanks,
// line ends) is ASCII, which never occurs inside a UTF-8 sequence, so 8-bit
// and UTF-16 files split the same way.
#pragma once

#include <windows.h>

#include <vector>

#include "common/unicode.h"

namespace standin {
namespace profile {

enum class LineKind {
  Blank,    // nothing but blanks
  Comment,  // first non-blank unit is ';'
  Header,   // first non-blank unit is '['
  Entry,    // has an '=': key and value
  Text,     // anything else: a line of its section without a value
};

// Offsets are units from the start of the file.
struct ProfileLine {
  size_t begin = 0;  // first unit of the line
  size_t end = 0;    // one past its last unit, before the line break
  size_t next = 0;   // start of the next line (end when the file ends here)
  LineKind kind = LineKind::Blank;
  // Header: the name inside the brackets; Entry and Text: the key. Blanks
  // around it are outside.
  size_t nameBegin = 0, nameEnd = 0;
  // Entry: the value without the blanks around it, quotes still on.
  size_t valueBegin = 0, valueEnd = 0;

  bool HasLineBreak() const { return next > end; }
};

// Space and tab: the blanks that the syntax trims.
inline bool IsBlank(WCHAR unit) { return unit == ' ' || unit == '\t'; }

// A section or key name as a caller passes it: the spaces around it don't
// count, as on Windows (tabs do).
WStringView TrimSpaces(WStringView name);

// Splits units into lines at CR LF, CR or LF and classifies each.
std::vector<ProfileLine> SplitLines(WStringView units);

// The value of an entry as the calls hand it out: one pair of matching outer
// quotes ('"' or '\'') removed.
WStringView Unquote(WStringView value);

}  // namespace profile
}  // namespace standin
