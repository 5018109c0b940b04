// Spelling a name that is not a file name (a window title, a mutex name) as
// one: the stand-in keeps such things as files in folders of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/unicode.h"

namespace standin {

// 64-bit FNV-1a of the bytes: tells long names apart where they can't be
// spelled out.
uint64_t NameHash(const std::string &bytes);

// `units` with each unit `isKept` accepts (ASCII, as the caller chooses)
// written as itself and every other unit as %XXXX. A spelling longer than
// `longest` bytes is replaced by '#' and its NameHash in hexadecimal.
std::string SpellAsFileName(WStringView units, bool (*isKept)(WCHAR unit, size_t index),
                            size_t longest);

}  // namespace standin
