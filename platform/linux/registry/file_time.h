// Times as the registry reports them: 100-nanosecond ticks since 1601-01-01 UTC.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ctime>

namespace standin {

uint64_t FileTimeFromUnix(const timespec &when);
uint64_t FileTimeNow();
FILETIME SplitFileTime(uint64_t ticks);

}  // namespace standin
