#include "files/handle_table.h"

#include <map>
#include <mutex>

namespace standin {

namespace {

struct HandleTable {
  std::mutex lock;
  std::map<ULONG_PTR, HandleEntry> entries;
  // Multiples of 4 from here, as Windows hands them out.
  ULONG_PTR nextValue = 0x1000;
};

HandleTable &Table() {
  static HandleTable table;
  return table;
}

ULONG_PTR ValueOf(HANDLE handle) { return reinterpret_cast<ULONG_PTR>(handle); }

}  // namespace

HANDLE AddHandle(const HandleEntry &entry) {
  HandleTable &table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  ULONG_PTR value = table.nextValue;
  table.nextValue += 4;
  table.entries[value] = entry;
  return reinterpret_cast<HANDLE>(value);
}

bool FindHandle(HANDLE handle, HandleKind kind, HandleEntry &entry) {
  HandleTable &table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  auto found = table.entries.find(ValueOf(handle));
  if (found == table.entries.end() || found->second.kind != kind) return false;
  entry = found->second;
  return true;
}

bool RemoveHandle(HANDLE handle, HandleKind kind, HandleEntry &entry) {
  HandleTable &table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  auto found = table.entries.find(ValueOf(handle));
  if (found == table.entries.end() || found->second.kind != kind) return false;
  entry = found->second;
  table.entries.erase(found);
  return true;
}

bool SharingAllows(dev_t device, ino_t inode, DWORD access, DWORD share) {
  // An open for attributes only touches no data and meets no share mode.
  if ((access & (GENERIC_READ | GENERIC_WRITE)) == 0) return true;
  HandleTable &table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  for (const auto &item : table.entries) {
    const HandleEntry &open = item.second;
    if (open.kind != HandleKind::File || open.device != device || open.inode != inode) continue;
    if ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) return false;
    if ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) return false;
    if ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
    if ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
  }
  return true;
}

}  // namespace standin
