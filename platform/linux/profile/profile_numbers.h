// The number and structure forms of profile values.
#pragma once

#include <windows.h>

#include <string>

#include "common/unicode.h"

namespace standin {
namespace profile {

// An optional sign, then decimal digits up to the first other unit, wrapping
// at 32 bits ("-1" gives 0xFFFFFFFF, "4294967297" gives 1, "42A" gives 42,
// "B42" and "" give 0).
UINT ParseProfileInt(WStringView text);

// Each byte as two upper-case hex digits, then the sum of the bytes modulo
// 256 as two more.
WString EncodeStruct(const BYTE *data, UINT size);

// Checks `text` against a structure of `size` bytes and fills `data` only
// when it holds one. Returns ERROR_SUCCESS, ERROR_BAD_LENGTH (not exactly
// 2 * (size + 1) digits) or ERROR_INVALID_DATA (not hex, or the checksum
// does not match).
DWORD DecodeStruct(WStringView text, BYTE *data, UINT size);

}  // namespace profile
}  // namespace standin
