#include "files/wildcard.h"

#include "common/name_fold.h"

namespace standin {

namespace {

// Iterative glob match with one back-tracking point per '*'.
bool Glob(WStringView name, WStringView pattern) {
  size_t n = 0, p = 0;
  size_t starPattern = WStringView::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (starPattern != WStringView::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool HasWildcards(WStringView pattern) { return pattern.find_first_of(u"*?") != WStringView::npos; }

bool MatchesWildcards(WStringView name, WStringView pattern) {
  const WString foldedName = FoldName(name), foldedPattern = FoldName(pattern);
  if (Glob(foldedName, foldedPattern)) return true;
  WStringView shorter(foldedPattern);
  if (shorter.size() >= 2 && shorter.substr(shorter.size() - 2) == u".*") {
    return Glob(foldedName, shorter.substr(0, shorter.size() - 2));
  }
  return false;
}

}  // namespace standin
