#include "profile/profile_line.h"

#include "common/line_scan.h"

namespace standin {
namespace profile {

namespace {

// Units are WCHAR (UTF-16) or unsigned char (8-bit text): each compares as
// the unsigned number it is.
template <typename Unit>
size_t SkipBlanks(const Unit *units, size_t from, size_t end) {
  while (from < end && IsBlank(units[from])) ++from;
  return from;
}

template <typename Unit>
size_t TrimBlanksBack(const Unit *units, size_t begin, size_t end) {
  while (end > begin && IsBlank(units[end - 1])) --end;
  return end;
}

bool IsLineBreak(unsigned unit) { return unit == '\r' || unit == '\n'; }

// The first '=' or line break from `at` on, or `size`.
template <typename Unit>
size_t EqualsOrLineEnd(const Unit *units, size_t at, size_t size) {
  while (at < size && (units[at] > '=' || (units[at] != '=' && !IsLineBreak(units[at])))) ++at;
  return at;
}

// The first ']' or line break from `at` on, or `size`.
template <typename Unit>
size_t CloseOrLineEnd(const Unit *units, size_t at, size_t size) {
  while (at < size && units[at] != ']' && !IsLineBreak(units[at])) ++at;
  return at;
}

// Where ReadLine finds a line's parts, in units from the start of the file.
struct LineParts {
  LineKind kind = LineKind::Blank;
  size_t end = 0;
  size_t nameBegin = 0, nameEnd = 0;
  size_t valueBegin = 0, valueEnd = 0;
};

// Reads the line that starts at `begin` in one pass over its units.
template <typename Unit>
LineParts ReadLine(const Unit *units, size_t size, size_t begin) {
  LineParts line;
  const size_t first = SkipBlanks(units, begin, size);
  if (first == size || IsLineBreak(units[first])) {
    line.kind = LineKind::Blank;
    line.end = first;
    return line;
  }
  if (units[first] == ';') {
    line.kind = LineKind::Comment;
    line.end = FindLineBreak(units, first + 1, size);
    return line;
  }
  if (units[first] == '[') {
    // The name ends at the first ']'; without one, at the end of the line.
    size_t close = CloseOrLineEnd(units, first + 1, size);
    line.kind = LineKind::Header;
    line.end = close < size && units[close] == ']' ? FindLineBreak(units, close + 1, size) : close;
    line.nameBegin = SkipBlanks(units, first + 1, close);
    line.nameEnd = TrimBlanksBack(units, line.nameBegin, close);
    return line;
  }
  const size_t equals = EqualsOrLineEnd(units, first, size);
  line.nameBegin = first;
  if (equals == size || units[equals] != '=') {
    line.kind = LineKind::Text;
    line.end = equals;
    line.nameEnd = TrimBlanksBack(units, first, line.end);
    return line;
  }
  line.kind = LineKind::Entry;
  line.end = FindLineBreak(units, equals + 1, size);
  line.nameEnd = TrimBlanksBack(units, first, equals);
  line.valueBegin = SkipBlanks(units, equals + 1, line.end);
  line.valueEnd = TrimBlanksBack(units, line.valueBegin, line.end);
  return line;
}

// From the line's start; a part that is not there stays 0.
uint32_t Offset(size_t at, size_t begin) { return at == 0 ? 0 : static_cast<uint32_t>(at - begin); }

template <typename Unit>
std::vector<ProfileLine> SplitUnits(const Unit *units, size_t size) {
  std::vector<ProfileLine> lines;
  // Lines of a settings file are rarely shorter; a file of shorter ones
  // just grows the list.
  lines.reserve(size / 16 + 1);
  size_t at = 0;
  while (at < size) {
    const LineParts parts = ReadLine(units, size, at);
    ProfileLine line;
    line.begin = at;
    line.length = static_cast<uint32_t>(parts.end - at);
    line.kind = parts.kind;
    if (parts.end < size) {
      bool crLf = units[parts.end] == '\r' && parts.end + 1 < size && units[parts.end + 1] == '\n';
      line.breakLength = crLf ? 2 : 1;
    }
    line.nameBegin = Offset(parts.nameBegin, at);
    line.nameEnd = Offset(parts.nameEnd, at);
    line.valueBegin = Offset(parts.valueBegin, at);
    line.valueEnd = Offset(parts.valueEnd, at);
    lines.push_back(line);
    at = line.Next();
  }
  return lines;
}

}  // namespace

std::vector<ProfileLine> SplitLines(WStringView units) {
  return SplitUnits(units.data(), units.size());
}

std::vector<ProfileLine> SplitLines(std::string_view bytes) {
  return SplitUnits(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
}

WStringView TrimSpaces(WStringView name) {
  size_t begin = 0, end = name.size();
  while (begin < end && name[begin] == ' ') ++begin;
  while (end > begin && name[end - 1] == ' ') --end;
  return name.substr(begin, end - begin);
}

WStringView Unquote(WStringView value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace profile
}  // namespace standin
