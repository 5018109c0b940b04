// An INI file as data, two ways: what its bytes hold (a neutral reading, see
// ini_layout.h) and what the profile calls hand a reader: the section names,
// each section's lines and key names, and each key's value.
#pragma once

#include <windows.h>

#include <string>

#include "replay.h"

namespace replay {

// Topics start with `label` (to tell several files of a scenario apart).
void DumpIniFile(Replay &replay, const WString &file, const std::string &label = "");

}  // namespace replay
