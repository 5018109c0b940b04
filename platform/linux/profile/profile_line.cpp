#include "profile/profile_line.h"

namespace standin {
namespace profile {

namespace {

size_t SkipBlanks(WStringView units, size_t from, size_t end) {
  while (from < end && IsBlank(units[from])) ++from;
  return from;
}

size_t TrimBlanksBack(WStringView units, size_t begin, size_t end) {
  while (end > begin && IsBlank(units[end - 1])) --end;
  return end;
}

void Classify(WStringView units, ProfileLine &line) {
  size_t first = SkipBlanks(units, line.begin, line.end);
  if (first == line.end) {
    line.kind = LineKind::Blank;
    return;
  }
  if (units[first] == ';') {
    line.kind = LineKind::Comment;
    return;
  }
  if (units[first] == '[') {
    // The name ends at the first ']'; without one, at the end of the line.
    size_t close = first + 1;
    while (close < line.end && units[close] != ']') ++close;
    line.kind = LineKind::Header;
    line.nameBegin = SkipBlanks(units, first + 1, close);
    line.nameEnd = TrimBlanksBack(units, line.nameBegin, close);
    return;
  }
  size_t equals = first;
  while (equals < line.end && units[equals] != '=') ++equals;
  line.nameBegin = first;
  if (equals == line.end) {
    line.kind = LineKind::Text;
    line.nameEnd = TrimBlanksBack(units, first, line.end);
    return;
  }
  line.kind = LineKind::Entry;
  line.nameEnd = TrimBlanksBack(units, first, equals);
  line.valueBegin = SkipBlanks(units, equals + 1, line.end);
  line.valueEnd = TrimBlanksBack(units, line.valueBegin, line.end);
}

}  // namespace

std::vector<ProfileLine> SplitLines(WStringView units) {
  std::vector<ProfileLine> lines;
  size_t at = 0;
  while (at < units.size()) {
    ProfileLine line;
    line.begin = at;
    size_t end = at;
    while (end < units.size() && units[end] != '\r' && units[end] != '\n') ++end;
    line.end = end;
    if (end < units.size()) {
      bool crLf = units[end] == '\r' && end + 1 < units.size() && units[end + 1] == '\n';
      line.next = end + (crLf ? 2 : 1);
    } else {
      line.next = end;
    }
    Classify(units, line);
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
