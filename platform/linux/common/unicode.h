// Conversions between the UTF-16 the Win32 calls speak and the UTF-8 of the host.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace standin {

using WString = std::basic_string<WCHAR>;
using WStringView = std::basic_string_view<WCHAR>;

// Units up to the terminator; a null pointer gives an empty view.
WStringView ViewOf(LPCWSTR text);

// Unpaired surrogates become U+FFFD: the host has no spelling for them.
std::string ToUtf8(WStringView text);

// Bytes that are not UTF-8 become U+FFFD, one per byte.
WString FromUtf8(std::string_view text);

}  // namespace standin
