// The temporary files an atomic replacement writes beside its target. Their
// names say whose they are ("<name>.addbar-tmp-XXXXXX"), so that one a killed
// writer left behind is swept away by the next writer of the same file,
// while it holds the lock every writer of that file takes: no temporary file
// of a live writer can then exist.
#pragma once

#include <string>

namespace standin {

// What the temporary files of the file named `name` (no folder) begin with;
// six random characters follow.
std::string TemporaryPrefix(const std::string &name);

// Removes the temporary files of `name` from the folder open as `folderFd`.
void SweepTemporaries(int folderFd, const std::string &name);

}  // namespace standin
