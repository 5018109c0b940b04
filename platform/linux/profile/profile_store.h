// Reading profile files, with their parsed form kept between calls, and
// writing them back atomically.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "profile/profile_document.h"

namespace standin {
namespace profile {

struct LoadedProfile {
  // ERROR_SUCCESS, or why there is no file to read: ERROR_FILE_NOT_FOUND,
  // ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED (unreadable, or a folder),
  // ERROR_SHARING_VIOLATION (a handle of this process refuses readers).
  DWORD status = ERROR_SUCCESS;
  std::shared_ptr<const ProfileDocument> document;  // set on success
};

// The file's parsed contents. A parsed file is reused only while its device,
// inode, size, modification and change times are those it was read with, so
// a change by any process is seen at the next call.
LoadedProfile LoadProfile(const std::string &hostPath);

// ERROR_SUCCESS when a write may replace or create the file; otherwise
// ERROR_ACCESS_DENIED (no write permission, or not a plain file),
// ERROR_PATH_NOT_FOUND (its folder is missing) or ERROR_SHARING_VIOLATION.
DWORD CheckWritable(const std::string &hostPath);

// Applies `edit` to the file's document (an empty 8-bit one when the file is
// missing) and, when it changed something or the file is missing, writes the
// file: on disk before the call returns. The parsed file is edited where it
// is kept, so an unchanged file is not read again, and after the write it
// stays in memory with the identity of the file written. Returns
// ERROR_SUCCESS, a status of LoadProfile when the file can't be read, or the
// write's failure (the document kept is then dropped). `mostAddedUnits`
// bounds the units the edit adds: an edit that could take the document to
// kMostProfileUnits fails with ERROR_NOT_ENOUGH_MEMORY and changes nothing,
// as does reading a file of that many bytes.
DWORD EditProfile(const std::string &hostPath, size_t mostAddedUnits,
                  const std::function<bool(ProfileDocument &)> &edit);

}  // namespace profile
}  // namespace standin
