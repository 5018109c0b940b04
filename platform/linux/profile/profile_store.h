// Reading profile files, with their parsed form kept between calls, and
// writing them back atomically.
#pragma once

#include <windows.h>

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

// Replaces the file's contents with the document's bytes, on disk before the
// call returns. Returns ERROR_SUCCESS or the failure's status.
DWORD SaveProfile(const std::string &hostPath, const ProfileDocument &document);

}  // namespace profile
}  // namespace standin
