#include "handles/handle_table.h"

#include <map>
#include <mutex>
#include <utility>

namespace standin {

namespace {

struct HandleTable {
  std::mutex lock;
  std::map<ULONG_PTR, std::shared_ptr<Handle>> open;
  // Multiples of 4 from here, as Windows hands them out.
  ULONG_PTR nextValue = 0x1000;
};

HandleTable &Table() {
  static HandleTable table;
  return table;
}

ULONG_PTR ValueOf(HANDLE handle) { return reinterpret_cast<ULONG_PTR>(handle); }

}  // namespace

HANDLE AddHandle(std::shared_ptr<Handle> handle) {
  HandleTable &table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  ULONG_PTR value = table.nextValue;
  table.nextValue += 4;
  table.open[value] = std::move(handle);
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<Handle> FindHandle(HANDLE value) {
  HandleTable &table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  auto found = table.open.find(ValueOf(value));
  return found == table.open.end() ? nullptr : found->second;
}

std::shared_ptr<Handle> RemoveHandle(HANDLE value,
                                     const std::function<bool(const Handle &)> &takes) {
  HandleTable &table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  auto found = table.open.find(ValueOf(value));
  if (found == table.open.end() || !takes(*found->second)) return nullptr;
  std::shared_ptr<Handle> removed = std::move(found->second);
  table.open.erase(found);
  return removed;
}

bool AnyOpenHandle(const std::function<bool(const Handle &)> &test) {
  HandleTable &table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  for (const auto &item : table.open) {
    if (test(*item.second)) return true;
  }
  return false;
}

}  // namespace standin
