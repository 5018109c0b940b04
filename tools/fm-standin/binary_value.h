// Reading a binary value, which the settings key offers no operation for:
// the file manager reads its own "nCmdIds" straight from the store.
#pragma once

#include <windows.h>

#include <vector>

#include "settings/settings_key.h"

// The bytes of binary value `name` of an open key: a REG_BINARY registry
// value, or an INI entry written as a structure (hex digits and a checksum).
// False when there is none, or it is of another kind or damaged.
bool ReadBinaryValue(CSettingsKey &key, LPCWSTR name, std::vector<BYTE> &data);
