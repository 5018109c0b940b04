// Replacing a file's contents so that a crash at any moment leaves either the
// old or the new contents, never a mix.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/file_identity.h"

namespace standin {

// One piece of a file's new contents; pieces are written one after another,
// so a caller holding its bytes in parts need not join them first.
struct ByteSpan {
  const char *data;
  size_t size;
};

// The file a path finally names: symbolic links are followed (a dangling link
// gives its target path), so writing replaces the target and the link stays.
std::string ResolveLinkTarget(const std::string &path);

// Writes bytes to a temporary file beside the target, flushes it to disk and
// renames it over the target; the target's owner, group and permission bits
// are kept (new files get 0666 less the umask), and a target whose owner
// can't be kept is not replaced. The writer first sweeps away what killed
// writers of the same target left (replace_temporaries.h); it takes no lock
// another user could hold. Returns ERROR_SUCCESS or a Win32 status:
// ERROR_ACCESS_DENIED when the file or its folder may not be written or the
// owner can't be kept.
DWORD ReplaceFileContents(const std::string &path, const std::string &bytes);
// The same for contents in pieces. When `written` is given it receives the
// identity of the file as this call left it, or stays "not existing" when
// that can't be told for sure (another process replaced or changed the file
// right after the rename): a caller keeping the contents in memory may then
// trust them only while the file keeps that identity.
DWORD ReplaceFileContents(const std::string &path, const std::vector<ByteSpan> &pieces,
                          FileIdentity *written = nullptr);

}  // namespace standin
