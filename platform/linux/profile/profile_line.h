// One line of a profile file and what it is, found from the units alone.
// Every character the syntax looks at ('[', ']', '=', ';', quotes, blanks,
// line ends) is ASCII, which never occurs inside a UTF-8 sequence, so 8-bit
// and UTF-16 files split the same way.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/unicode.h"

namespace standin {
namespace profile {

enum class LineKind : uint8_t {
  Blank,    // nothing but blanks
  Comment,  // first non-blank unit is ';'
  Header,   // first non-blank unit is '['
  Entry,    // has an '=': key and value
  Text,     // anything else: a line of its section without a value
};

// A document holds fewer units than this, so that a line's parts fit in 32
// bits from its start, which keeps a large file's index small.
constexpr size_t kMostProfileUnits = 0xFFFFFFFFu;

// Positions are units from the start of the file; a line keeps its parts
// from its own start, so that moving a line moves one number.
struct ProfileLine {
  size_t begin = 0;         // first unit of the line
  uint32_t length = 0;      // units before the line break
  uint8_t breakLength = 0;  // units of the line break: 0 where the file ends, 1, or 2 (CR LF)
  LineKind kind = LineKind::Blank;
  // Header: the name inside the brackets; Entry and Text: the key. Blanks
  // around it are outside.
  uint32_t nameBegin = 0, nameEnd = 0;
  // Entry: the value without the blanks around it, quotes still on.
  uint32_t valueBegin = 0, valueEnd = 0;

  size_t End() const { return begin + length; }        // one past its last unit, before the break
  size_t Next() const { return End() + breakLength; }  // start of the next line
  size_t NameBegin() const { return begin + nameBegin; }
  size_t NameEnd() const { return begin + nameEnd; }
  size_t ValueBegin() const { return begin + valueBegin; }
  size_t ValueEnd() const { return begin + valueEnd; }
  bool HasLineBreak() const { return breakLength > 0; }
};

// Space and tab: the blanks that the syntax trims.
inline bool IsBlank(WCHAR unit) { return unit == ' ' || unit == '\t'; }

// A section or key name as a caller passes it: the spaces around it don't
// count, as on Windows (tabs do).
WStringView TrimSpaces(WStringView name);

// Splits units (fewer than kMostProfileUnits) into lines at CR LF, CR or LF
// and classifies each.
std::vector<ProfileLine> SplitLines(WStringView units);
// The same for 8-bit text, a byte a unit.
std::vector<ProfileLine> SplitLines(std::string_view bytes);

// The value of an entry as the calls hand it out: one pair of matching outer
// quotes ('"' or '\'') removed.
WStringView Unquote(WStringView value);

}  // namespace profile
}  // namespace standin
