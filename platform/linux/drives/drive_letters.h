// Which drive letters the stand-in's machine has, as a mask: bit 0 for A:
// up to bit 25 for Z:, as GetLogicalDrives reports them on Windows.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// From ADDBAR_DRIVES when it is set, even empty (no drives at all); else the
// drives of the Wine prefix ($WINEPREFIX, else ~/.wine); else C: alone.
DWORD LogicalDriveMask();

// The letters of a text: a to z count as A to Z (drive letters know no
// case), repeats count once, anything else is ignored.
DWORD DriveMaskFromLetters(const std::string &letters);

// The drives of a Wine prefix: the entries of its dosdevices folder named by
// a letter and a colon (c:, z:); 0 when there are none.
DWORD DriveMaskOfWinePrefix(const std::string &prefix);

}  // namespace standin
