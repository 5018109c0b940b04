// The files the stand-in reads and writes for its callers (the registry
// store, INI files, CreateFileW's files) as the host has them: only a regular
// file is ever used as one, and its permission bits say whether it is
// read-only.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

namespace standin {

struct OpenedFile {
  int fd = -1;             // open and close-on-exec; -1 when not opened
  int error = 0;           // errno when not opened (EACCES for another kind)
  bool otherKind = false;  // the path names something else than a regular file
  struct stat info = {};   // the opened file's
};

// Opens `path` with `flags` only when it names a regular file (with
// O_DIRECTORY: a folder). The path is looked at first and a FIFO or a device
// is not opened at all, since opening one may wait for a writer or do
// something of its own; the open itself does not block either, in case one
// took the file's place meanwhile, and what was opened is looked at again.
// With O_CREAT the file may be missing and is made with `mode`.
OpenedFile OpenRegularFile(const std::string &path, int flags, mode_t mode = 0);

// Whether an existing file is plainly `owner`'s: a regular file with one link
// (no other name that makes it someone else's file too) that `owner` owns.
// Lock files, and the temporary files a killed writer left, are used or
// removed only when they are.
bool IsPlainFileOf(const struct stat &info, uid_t owner);

// Whether the permission bits let the calling user write the file: the owner,
// group or other bits that apply to the user. The super-user gets no pass: a
// file without write bits is read-only, as the attribute is on Windows.
bool PermissionBitsAllowWriting(const std::string &path);

}  // namespace standin
