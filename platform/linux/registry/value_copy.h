// Handing value data to a caller's buffer, and taking it from one, the way
// Windows does.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

bool IsStringType(DWORD type);

// Copies `data` into `buffer`, which holds `room` bytes (at least
// data.size()). Like Windows, string data whose last unit is not null gets a
// null unit after it when the buffer has room for one; the byte count the
// caller is told stays that of the data.
void CopyValueData(DWORD type, const std::string &data, BYTE *buffer, DWORD room);

// The bytes RegSetValueExW stores. Like Windows, string data whose count
// leaves out the terminating null unit the caller's text has right after it
// gets that unit counted.
std::string DataToStore(DWORD type, const BYTE *data, DWORD count);

}  // namespace standin
