#include "profile/profile_line.h"

#include "common/line_scan.h"

namespace standin {
namespace profile {

namespace {

size_t SkipBlanks(const WCHAR *units, size_t from, size_t end) {
  while (from < end && IsBlank(units[from])) ++from;
  return from;
}

size_t TrimBlanksBack(const WCHAR *units, size_t begin, size_t end) {
  while (end > begin && IsBlank(units[end - 1])) --end;
  return end;
}

bool IsLineBreak(WCHAR unit) { return unit == '\r' || unit == '\n'; }

// The first '=' or line break from `at` on, or `size`.
size_t EqualsOrLineEnd(const WCHAR *units, size_t at, size_t size) {
  while (at < size && (units[at] > '=' || (units[at] != '=' && !IsLineBreak(units[at])))) ++at;
  return at;
}

// The first ']' or line break from `at` on, or `size`.
size_t CloseOrLineEnd(const WCHAR *units, size_t at, size_t size) {
  while (at < size && units[at] != ']' && !IsLineBreak(units[at])) ++at;
  return at;
}

// Reads the line that starts at line.begin in one pass over its units: sets
// its kind, its parts and its end.
void ReadLine(const WCHAR *units, size_t size, ProfileLine &line) {
  const size_t first = SkipBlanks(units, line.begin, size);
  if (first == size || IsLineBreak(units[first])) {
    line.kind = LineKind::Blank;
    line.end = first;
    return;
  }
  if (units[first] == ';') {
    line.kind = LineKind::Comment;
    line.end = FindLineBreak(units, first + 1, size);
    return;
  }
  if (units[first] == '[') {
    // The name ends at the first ']'; without one, at the end of the line.
    size_t close = CloseOrLineEnd(units, first + 1, size);
    line.kind = LineKind::Header;
    line.end = close < size && units[close] == ']' ? FindLineBreak(units, close + 1, size) : close;
    line.nameBegin = SkipBlanks(units, first + 1, close);
    line.nameEnd = TrimBlanksBack(units, line.nameBegin, close);
    return;
  }
  const size_t equals = EqualsOrLineEnd(units, first, size);
  line.nameBegin = first;
  if (equals == size || units[equals] != '=') {
    line.kind = LineKind::Text;
    line.end = equals;
    line.nameEnd = TrimBlanksBack(units, first, line.end);
    return;
  }
  line.kind = LineKind::Entry;
  line.end = FindLineBreak(units, equals + 1, size);
  line.nameEnd = TrimBlanksBack(units, first, equals);
  line.valueBegin = SkipBlanks(units, equals + 1, line.end);
  line.valueEnd = TrimBlanksBack(units, line.valueBegin, line.end);
}

}  // namespace

std::vector<ProfileLine> SplitLines(WStringView text) {
  const WCHAR *units = text.data();
  const size_t size = text.size();
  std::vector<ProfileLine> lines;
  // Lines of a settings file are rarely shorter; a file of shorter ones
  // just grows the list.
  lines.reserve(size / 16 + 1);
  size_t at = 0;
  while (at < size) {
    ProfileLine line;
    line.begin = at;
    ReadLine(units, size, line);
    if (line.end < size) {
      bool crLf = units[line.end] == '\r' && line.end + 1 < size && units[line.end + 1] == '\n';
      line.next = line.end + (crLf ? 2 : 1);
    } else {
      line.next = line.end;
    }
    lines.push_back(line);
    at = line.next;
  }
  return lines;
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
