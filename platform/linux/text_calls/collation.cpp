#include "text_calls/collation.h"

#include <cstdint>
#include <vector>

#include "text_calls/collation_weights.h"

namespace standin {

namespace {

// A string's weights, one list per level.
struct SortLevels {
  std::vector<uint32_t> primary;
  std::vector<uint8_t> upper;  // per primary weight: 1 for upper case
  // Per unit set aside: how many primary weights stand before it, and its weight.
  std::vector<std::pair<size_t, uint8_t>> special;
};

SortLevels LevelsOf(WStringView text) {
  SortLevels levels;
  for (WCHAR unit : text) {
    SortWeight weight = SortWeightOf(unit);
    if (weight.primary == 0) {
      levels.special.emplace_back(levels.primary.size(), weight.special);
    } else {
      levels.primary.push_back(weight.primary);
      levels.upper.push_back(weight.upper ? 1 : 0);
    }
  }
  // Trailing lower case counts as nothing, so "ab" and "abC" differ only where C stands.
  while (!levels.upper.empty() && levels.upper.back() == 0) levels.upper.pop_back();
  return levels;
}

template <typename T, typename Less>
int CompareSequences(const std::vector<T> &left, const std::vector<T> &right, Less less) {
  size_t common = left.size() < right.size() ? left.size() : right.size();
  for (size_t i = 0; i < common; ++i) {
    if (less(left[i], right[i])) return -1;
    if (less(right[i], left[i])) return 1;
  }
  if (left.size() == right.size()) return 0;
  return left.size() < right.size() ? -1 : 1;
}

// A unit set aside earlier in the string (fewer primary weights before it)
// sorts later; among those at the same place the weight decides.
bool SpecialLess(const std::pair<size_t, uint8_t> &a, const std::pair<size_t, uint8_t> &b) {
  if (a.first != b.first) return a.first > b.first;
  return a.second < b.second;
}

// The next primary weight from `at` on, moving past it; 0 at the end.
uint32_t NextPrimary(WStringView text, size_t &at) {
  while (at < text.size()) {
    uint32_t primary = SortWeightOf(text[at++]).primary;
    if (primary != 0) return primary;
  }
  return 0;
}

// The primary level alone, weight by weight, as CompareSequences compares
// it: most strings differ there, and need no levels built.
int ComparePrimary(WStringView left, WStringView right) {
  size_t i = 0, j = 0;
  for (;;) {
    uint32_t a = NextPrimary(left, i);
    uint32_t b = NextPrimary(right, j);
    if (a != b) {
      if (a == 0) return -1;  // left ran out first
      if (b == 0) return 1;
      return a < b ? -1 : 1;
    }
    if (a == 0) return 0;
  }
}

}  // namespace

int CompareLinguistic(WStringView left, WStringView right, CaseRule caseRule) {
  if (int result = ComparePrimary(left, right)) return result;
  SortLevels a = LevelsOf(left);
  SortLevels b = LevelsOf(right);
  auto plainLess = [](auto x, auto y) { return x < y; };
  // The primary weights are equal (above): the other levels decide.
  if (caseRule == CaseRule::Sensitive) {
    if (int result = CompareSequences(a.upper, b.upper, plainLess)) return result;
  }
  return CompareSequences(a.special, b.special, SpecialLess);
}

}  // namespace standin
