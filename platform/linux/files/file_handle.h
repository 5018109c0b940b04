// The stand-in's file handles (CreateFileW): an open descriptor with the
// access and sharing it was opened with.
#pragma once

#include <windows.h>

#include <sys/types.h>

#include "handles/handle.h"

namespace standin {

class FileHandle : public Handle {
 public:
  FileHandle(int fd, DWORD access, DWORD share, dev_t device, ino_t inode)
      : m_fd(fd), m_access(access), m_share(share), m_device(device), m_inode(inode) {}

  void Close() override;

  int Fd() const { return m_fd; }
  DWORD Access() const { return m_access; }  // GENERIC_READ and/or GENERIC_WRITE
  DWORD Share() const { return m_share; }    // FILE_SHARE_READ and/or FILE_SHARE_WRITE
  bool Holds(dev_t device, ino_t inode) const { return m_device == device && m_inode == inode; }

 private:
  const int m_fd;
  const DWORD m_access;
  const DWORD m_share;
  const dev_t m_device;  // which file is open
  const ino_t m_inode;
};

// Whether the file (device, inode) may be opened with `access` and `share`
// while this process's open handles hold it: each side must share what the
// other one uses, as on Windows; an open without read or write access always
// may. Handles of other processes are not seen.
bool SharingAllows(dev_t device, ino_t inode, DWORD access, DWORD share);

}  // namespace standin
