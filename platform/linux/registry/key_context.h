// What every registry call starts with: the handle checked, the store loaded
// and the handle's key found in it, with the Windows status for whatever of
// that fails, in the order Windows checks.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "registry/key_handles.h"
#include "registry/registry_tree.h"
#include "registry/store_file.h"

namespace standin {

// Longest key name Windows takes, in units: the documented 255 plus one,
// which Windows and Wine both accept.
const size_t kMaxKeyNameLength = 256;
// Longest value name, in units.
const size_t kMaxValueNameLength = 16383;

class KeyContext {
 public:
  // `required`: the rights the call needs on the handle (0 for none).
  KeyContext(HKEY key, StoreSession::Mode mode, REGSAM required);

  // ERROR_SUCCESS, ERROR_INVALID_HANDLE, ERROR_ACCESS_DENIED, ERROR_BADDB,
  // ERROR_KEY_DELETED or a file status.
  DWORD Status() const { return m_status; }
  // A predefined key other than HKEY_CURRENT_USER: it has no store and no
  // key; the call answers as for a key that is empty and can't be written.
  bool OtherHive() const { return m_handle.kind == HandleKind::OtherHive; }

  const KeyHandle &Handle() const { return *m_handle.key; }
  RegistryKey &Key() { return *m_key; }
  RegistryKey &CurrentUserRoot() { return m_store->Tree().CurrentUser(); }
  DWORD Save() { return m_store->Save(); }

 private:
  ResolvedHandle m_handle;
  std::unique_ptr<StoreSession> m_store;
  RegistryKey *m_key = nullptr;
  DWORD m_status = ERROR_SUCCESS;
};

// Splits a sub-key path as the registry does: no leading backslash
// (ERROR_BAD_PATHNAME), runs of backslashes and trailing ones count as one
// separator, no name longer than kMaxKeyNameLength (ERROR_INVALID_PARAMETER).
// A null or empty path gives no names.
DWORD SplitSubKeyPath(LPCWSTR path, std::vector<WString> &names);

// The key at `names` below `from`, or null.
RegistryKey *FindKey(RegistryKey &from, const std::vector<WString> &names);

// The value name a call passes; null names the unnamed value, like "".
WStringView ValueName(LPCWSTR name);

}  // namespace standin
