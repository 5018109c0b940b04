// The handles the registry calls give out. A handle names its key by path
// below HKEY_CURRENT_USER plus the key's identity, not by a pointer into a
// tree: the store may be read afresh between calls, and a key deleted and
// created again under the same name must not be taken for the old one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "common/unicode.h"

namespace standin {

struct KeyHandle {
  std::vector<WString> path;  // names below HKEY_CURRENT_USER
  uint64_t serial = 0;        // the key's identity when opened; 0 = any
  REGSAM access = 0;          // rights granted, generic rights mapped
};

enum class HandleKind {
  Invalid,      // null, closed or never given out
  CurrentUser,  // HKEY_CURRENT_USER itself
  OtherHive,    // another predefined key: no store behind it
  Opened,       // a handle from RegOpenKeyExW or RegCreateKeyExW
};

class RegistryKey;

struct ResolvedHandle {
  HandleKind kind = HandleKind::Invalid;
  // Shared with the handle table, not copied: every call resolves a handle.
  std::shared_ptr<const KeyHandle> key;
  // Where the key was found last, in the key generation then (Opened only).
  RegistryKey *found = nullptr;
  uint64_t foundGeneration = 0;
};

bool IsPredefinedKey(HKEY key);
ResolvedHandle ResolveHandle(HKEY key);
// Notes where an opened handle's key was found, in which key generation.
void RememberFoundKey(HKEY key, RegistryKey *found, uint64_t generation);
HKEY AddHandle(KeyHandle key);
bool RemoveHandle(HKEY key);

// The rights a handle gets for an access mask: the generic rights stand for
// the key rights they map to.
REGSAM GrantedAccess(REGSAM desired);

}  // namespace standin
