#include "files/file_handle.h"

#include <unistd.h>

#include "handles/handle_table.h"

namespace standin {

void FileHandle::Close() { close(m_fd); }

bool SharingAllows(dev_t device, ino_t inode, DWORD access, DWORD share) {
  // An open for attributes only touches no data and meets no share mode.
  if ((access & (GENERIC_READ | GENERIC_WRITE)) == 0) return true;
  return !AnyOpenHandle([&](const Handle &handle) {
    const FileHandle *open = dynamic_cast<const FileHandle *>(&handle);
    if (open == nullptr || !open->Holds(device, inode)) return false;
    return ((access & GENERIC_READ) && !(open->Share() & FILE_SHARE_READ)) ||
           ((access & GENERIC_WRITE) && !(open->Share() & FILE_SHARE_WRITE)) ||
           ((open->Access() & GENERIC_READ) && !(share & FILE_SHARE_READ)) ||
           ((open->Access() & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE));
  });
}

}  // namespace standin
