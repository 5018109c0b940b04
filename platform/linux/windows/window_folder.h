// Where the stand-in keeps its top-level windows: one local socket per window
// in a folder of the user's own. A socket's name is its title's key, an '@'
// and a tag no other window ever gets, so windows may share a title.
#pragma once

#include <windows.h>

#include <string>

#include "common/unicode.h"

namespace standin {

// ADDBAR_WINDOWS when set and not empty; else $XDG_RUNTIME_DIR/addbar-windows
// when XDG_RUNTIME_DIR is an absolute path to a folder the user owns; else
// <cache>/addbar-windows, <cache> being the first of $XDG_CACHE_HOME,
// $HOME/.cache and the .cache folder of the user's home in the password
// database that is an absolute path to a folder the user owns, or one the
// user may make in a folder the user owns. Never a shared folder such as
// /tmp, where another user could take the name first. Empty when there is no
// such place.
std::string WindowFolderPath();

// Makes the private folder `path` (mode 0700) when it is missing: the window
// folder, or the object folder beside it. Its parent must exist, except the
// cache folder the default place is in (made 0700 as well); a folder named by
// ADDBAR_WINDOWS never gets its parents made. True when the folder exists
// afterwards; else false with errno set.
bool MakeSessionFolder(const std::string &path);

// Whether the folder can hold windows: a real folder (not a link), owned by
// the user, private to its owner (no group or other bits: no one else may
// plant a socket or read the titles), whose mode bits let its owner write and
// search it. The super-user gets no pass, so an unwritable folder holds no
// windows for anyone.
bool IsUsableWindowFolder(const std::string &path);

// Makes the folder (MakeSessionFolder) when it is missing. Returns
// ERROR_SUCCESS when the folder is usable afterwards, else a status.
DWORD PrepareWindowFolder(const std::string &path);

// The part of a socket name that stands for a title: the title lower-cased
// (titles match without regard to case), letters, digits, '_' and '-' kept
// and every other unit written %XXXX. A key that would make too long a file
// name is replaced by '#' and a hash of it.
std::string WindowTitleKey(WStringView title);

// The separator between a title's key and a window's own tag.
const char kWindowTagSeparator = '@';

}  // namespace standin
