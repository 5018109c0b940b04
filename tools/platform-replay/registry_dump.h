// A key with everything below it, as data: per key what RegQueryInfoKeyW
// tells, the listing order of sub-keys and values, and each value's type and
// bytes. Keys and values are visited sorted by name, so that the records pair
// up even where the two builds list them in another order; the listing order
// has records of its own.
#pragma once

#include <windows.h>

#include "replay.h"

namespace replay {

// Topics start "reg \" for `key` and "reg \<name>\<name>" below it.
void DumpRegistryKey(Replay &replay, HKEY key);

}  // namespace replay
