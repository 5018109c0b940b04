// The sort weights of single code units, as the collation levels use them.
#pragma once

#include <windows.h>

#include <cstdint>

namespace standin {

struct SortWeight {
  uint32_t primary;  // 0: set aside to the special level
  uint8_t special;   // the special weight when primary is 0
  bool upper;        // sorts after its lower case at the case level
};

SortWeight SortWeightOf(WCHAR unit);

}  // namespace standin
