#include "registry/key_name_case.h"

#include <algorithm>

#include "tables/unicode_tables.h"

namespace standin {

WCHAR UpcaseTableUnit(WCHAR unit) { return MapCase(kUpcaseRuns, kUpcaseRunCount, unit); }

WString UpcaseName(WStringView name) {
  WString upper(name);
  for (WCHAR &unit : upper) unit = UpcaseUnit(unit);
  return upper;
}

int CompareNames(WStringView left, WStringView right) {
  size_t common = std::min(left.size(), right.size());
  for (size_t i = 0; i < common; ++i) {
    WCHAR a = UpcaseUnit(left[i]);
    WCHAR b = UpcaseUnit(right[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  if (left.size() == right.size()) return 0;
  return left.size() < right.size() ? -1 : 1;
}

int CompareWithUpcased(WStringView upcased, WStringView name) {
  size_t common = std::min(upcased.size(), name.size());
  for (size_t i = 0; i < common; ++i) {
    WCHAR b = UpcaseUnit(name[i]);
    if (upcased[i] != b) return upcased[i] < b ? -1 : 1;
  }
  if (upcased.size() == name.size()) return 0;
  return upcased.size() < name.size() ? -1 : 1;
}

bool SameName(WStringView left, WStringView right) {
  return left.size() == right.size() && CompareNames(left, right) == 0;
}

}  // namespace standin
