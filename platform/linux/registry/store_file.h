// The store file as the registry calls see it during one call: read when it
// changed since the last call (otherwise the tree parsed then is reused),
// locked against other processes while a call changes it, and written back
// atomically before the call returns.
//
// A file that does not parse is never written: every call on it fails with
// ERROR_BADDB, and one line on standard error names the file and the line.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

#include "registry/registry_tree.h"

namespace standin {

class StoreSession {
 public:
  enum class Mode { Read, Change };

  // Change sessions hold an exclusive lock (a lock file beside the store)
  // from before the file is read until after it is written back, so that
  // two processes changing one store never lose each other's changes.
  // Readers take no lock: every write replaces the file whole by a rename,
  // so what they open is always one complete version of it.
  explicit StoreSession(Mode mode);
  ~StoreSession();
  StoreSession(const StoreSession &) = delete;
  StoreSession &operator=(const StoreSession &) = delete;

  // ERROR_SUCCESS when Tree() may be used; ERROR_BADDB for a store that does
  // not parse; another status when the file can't be reached.
  DWORD Status() const { return m_status; }
  RegistryTree &Tree();

  // Writes the tree to the file (Change sessions only). On failure the tree
  // in memory is dropped, so the next call reads the unchanged file again.
  DWORD Save();

 private:
  DWORD Load();

  std::unique_lock<std::mutex> m_hold;
  Mode m_mode;
  std::string m_path;
  int m_lockFd = -1;
  DWORD m_status = ERROR_SUCCESS;
};

}  // namespace standin
