// The temporary files an atomic replacement writes beside its target. Their
// names say whose they are ("<name>.addbar-tmp-XXXXXX"), so that one a killed
// writer left behind is swept away by the next writer of the same file. A
// writer holds flock on its temporary file from making it to renaming it, and
// the file is private to its user meanwhile: a sweep removes only files of its
// own user whose lock it can take, so never a live writer's file, and nothing
// another user can make it remove or keep it from.
#pragma once

#include <string>

namespace standin {

// What the temporary files of the file named `name` (no folder) begin with;
// six random characters follow.
std::string TemporaryPrefix(const std::string &name);

// Makes a temporary file for `name` in the folder open as `folderFd`: mode
// 0600, held with flock until its descriptor is closed. Returns the
// descriptor and its name in `temporary`, or -1 with errno set.
int MakeTemporary(int folderFd, const std::string &name, std::string &temporary);

// Removes the temporary files of `name` that killed writers left in the
// folder open (for reading) as `folderFd`: regular files of the running user
// with one link whose flock nobody holds.
void SweepTemporaries(int folderFd, const std::string &name);

}  // namespace standin
