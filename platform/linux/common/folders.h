// The parts of a host path, and the folders it leads through.
#pragma once

#include <string>

namespace standin {

// The folder part of a host path: "." when there is none, "/" for a name in
// the root.
std::string FolderOf(const std::string &hostPath);

// The last component of a host path: all of it when it has no folder part.
std::string NameOf(const std::string &hostPath);

// Makes the folders leading to `hostPath` that are missing, each private to
// the user (mode 0700, like the rest of a user's configuration); false with
// errno set when one can't be made.
bool MakeParentFolders(const std::string &hostPath);

}  // namespace standin
