#include "registry/key_handles.h"

#include <mutex>
#include <unordered_map>

namespace standin {

namespace {

const uint32_t kFirstPredefined = 0x80000000u;  // HKEY_CLASSES_ROOT
const uint32_t kLastPredefined = 0x80000006u;   // HKEY_DYN_DATA

const REGSAM kGenericRead = 0x80000000u;
const REGSAM kGenericWrite = 0x40000000u;
const REGSAM kGenericExecute = 0x20000000u;
const REGSAM kGenericAll = 0x10000000u;
const REGSAM kMaximumAllowed = 0x02000000u;

struct HandleEntry {
  std::shared_ptr<const KeyHandle> key;
  RegistryKey *found = nullptr;
  uint64_t foundGeneration = 0;
};

std::mutex g_handleLock;
std::unordered_map<uintptr_t, HandleEntry> g_handles;
// Handles are never given out twice in a process, so a stale handle can't
// reach a key opened later. Multiples of 4 like kernel handles, well below
// the predefined keys.
uintptr_t g_nextHandle = 0x1000;

// Only the low 32 bits name a predefined key, as on 64-bit Windows.
uint32_t Low32(HKEY key) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key)); }

}  // namespace

bool IsPredefinedKey(HKEY key) {
  uint32_t value = Low32(key);
  return value >= kFirstPredefined && value <= kLastPredefined;
}

ResolvedHandle ResolveHandle(HKEY key) {
  ResolvedHandle resolved;
  if (key == nullptr) return resolved;
  if (IsPredefinedKey(key)) {
    static const std::shared_ptr<const KeyHandle> kPredefined = [] {
      KeyHandle predefined;
      predefined.access = KEY_ALL_ACCESS;
      return std::make_shared<const KeyHandle>(predefined);
    }();
    resolved.kind =
        Low32(key) == Low32(HKEY_CURRENT_USER) ? HandleKind::CurrentUser : HandleKind::OtherHive;
    resolved.key = kPredefined;
    return resolved;
  }
  std::lock_guard<std::mutex> hold(g_handleLock);
  auto found = g_handles.find(reinterpret_cast<uintptr_t>(key));
  if (found == g_handles.end()) return resolved;
  resolved.kind = HandleKind::Opened;
  resolved.key = found->second.key;
  resolved.found = found->second.found;
  resolved.foundGeneration = found->second.foundGeneration;
  return resolved;
}

void RememberFoundKey(HKEY key, RegistryKey *found, uint64_t generation) {
  std::lock_guard<std::mutex> hold(g_handleLock);
  auto entry = g_handles.find(reinterpret_cast<uintptr_t>(key));
  if (entry == g_handles.end()) return;
  entry->second.found = found;
  entry->second.foundGeneration = generation;
}

HKEY AddHandle(KeyHandle key) {
  std::lock_guard<std::mutex> hold(g_handleLock);
  uintptr_t value = g_nextHandle;
  g_nextHandle += 4;
  g_handles.emplace(value, HandleEntry{std::make_shared<const KeyHandle>(std::move(key))});
  return reinterpret_cast<HKEY>(value);
}

bool RemoveHandle(HKEY key) {
  std::lock_guard<std::mutex> hold(g_handleLock);
  return g_handles.erase(reinterpret_cast<uintptr_t>(key)) != 0;
}

REGSAM GrantedAccess(REGSAM desired) {
  REGSAM granted =
      desired & ~(kGenericRead | kGenericWrite | kGenericExecute | kGenericAll | kMaximumAllowed);
  if (desired & kGenericRead) granted |= KEY_READ;
  if (desired & kGenericWrite) granted |= KEY_WRITE;
  if (desired & kGenericExecute) granted |= KEY_EXECUTE;
  if (desired & (kGenericAll | kMaximumAllowed)) granted |= KEY_ALL_ACCESS;
  return granted;
}

}  // namespace standin
