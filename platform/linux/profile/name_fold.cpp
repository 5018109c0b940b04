#include "profile/name_fold.h"

namespace standin {

WString FoldName(WStringView name) {
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
