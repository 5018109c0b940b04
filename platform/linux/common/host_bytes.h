// Host names are bytes, Win32 names are UTF-16. Names that are valid UTF-8
// convert as text; a byte that is not part of valid UTF-8 becomes the lone
// low surrogate U+DC80 + (byte - 0x80) and turns back into that byte, so a
// name read from the host (argv, a folder listing) always reaches the host
// again as the same bytes and never names a different file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/unicode.h"

namespace standin {

// Host bytes -> UTF-16, invalid bytes escaped.
WString FromHostBytes(std::string_view bytes);

// UTF-16 -> host bytes, escaped bytes restored. False when the text has no
// host spelling that reads back as the same text: an unpaired surrogate that
// is no escaped byte, or escaped bytes that together would read as text.
bool ToHostBytes(WStringView text, std::string &bytes);

}  // namespace standin
