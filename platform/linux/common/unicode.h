// Conversions between the UTF-16 the Win32 calls speak and the UTF-8 of the
// host: one codec, with two ways of handling what has no spelling on the
// other side.
//
// - Text (message boxes, INI files, debug output): a byte that is not part of
//   valid UTF-8 becomes U+FFFD, one per byte, and so does an unpaired
//   surrogate on the way out.
// - Host names (paths, argv): names that are valid UTF-8 convert as text; a
//   byte that is not becomes the lone low surrogate U+DC80 + (byte - 0x80)
//   and turns back into that byte, so a name read from the host (argv, a
//   folder listing) always reaches the host again as the same bytes and never
//   names a different file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace standin {

using WString = std::basic_string<WCHAR>;
using WStringView = std::basic_string_view<WCHAR>;

// Units up to the terminator; a null pointer gives an empty view.
WStringView ViewOf(LPCWSTR text);

// Text: unpaired surrogates become U+FFFD.
std::string ToUtf8(WStringView text);

// Text: bytes that are not UTF-8 become U+FFFD, one per byte.
WString FromUtf8(std::string_view text);

// Host names: bytes -> UTF-16, invalid bytes escaped.
WString FromHostBytes(std::string_view bytes);

// Host names: UTF-16 -> bytes, escaped bytes restored. False when the text
// has no host spelling that reads back as the same text: an unpaired
// surrogate that is no escaped byte, or escaped bytes that together would
// read as text.
bool ToHostBytes(WStringView text, std::string &bytes);

}  // namespace standin
