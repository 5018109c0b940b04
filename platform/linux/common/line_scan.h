// Finding line breaks in UTF-16 units (and in 8-bit text) quickly: the parsers of large settings
// files spend most of their time looking for the end of each line.
#pragma once

#include <windows.h>

#include <cstddef>

namespace standin {

// The first '\r' or '\n' in units [at, size), or `size`.
size_t FindLineBreak(const WCHAR *units, size_t at, size_t size);
// The same in 8-bit text, a byte a unit.
size_t FindLineBreak(const unsigned char *units, size_t at, size_t size);
// The first '\n' in units [at, size) of UTF-16LE bytes (unit i at bytes 2i
// and 2i + 1), or `size`.
size_t FindLineFeedUtf16Le(const char *bytes, size_t at, size_t size);

}  // namespace standin
