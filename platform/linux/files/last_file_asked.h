// The file CreateFileW was last asked to open, whatever came of it. On Linux,
// addbar opens nothing but its INI file with it, so a run that fails on its
// settings can name that file (see entry/settings_trouble.h).
#pragma once

#include <string>

namespace standin {

// The host path; empty when CreateFileW was never asked for a file.
std::string LastFileAskedFor();

void NoteFileAskedFor(const std::string &hostPath);

}  // namespace standin
