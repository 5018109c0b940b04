#include "common/name_fold.h"

namespace standin {

WString FoldName(WStringView name) {
  // Most names are ASCII, where CharLowerW changes A-Z only: done here, as
  // fast as a listing of many thousand names needs.
  bool ascii = true;
  for (WCHAR unit : name) ascii = ascii && unit < 0x80;
  if (ascii) {
    WString folded(name);
    for (WCHAR &unit : folded) {
      if (unit >= 'A' && unit <= 'Z') unit = static_cast<WCHAR>(unit + ('a' - 'A'));
    }
    return folded;
  }
  // CharLowerW stops at a null unit, so each run between nulls is lowered on
  // its own; the buffer keeps a terminator after the last run.
  WString folded(name);
  folded.push_back(0);
  size_t at = 0;
  while (at + 1 < folded.size()) {
    if (folded[at] != 0) CharLowerW(&folded[at]);
    while (at < folded.size() && folded[at] != 0) ++at;
    ++at;
  }
  folded.pop_back();
  return folded;
}

}  // namespace standin
