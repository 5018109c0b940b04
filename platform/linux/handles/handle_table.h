// The process's kernel handles (handle.h), by value.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "handles/handle.h"

namespace standin {

// A new handle value for `handle`; values are never null nor
// INVALID_HANDLE_VALUE and are not reused, so a closed handle stays invalid.
HANDLE AddHandle(std::shared_ptr<Handle> handle);

// The open handle `value`; null when there is none.
std::shared_ptr<Handle> FindHandle(HANDLE value);

// The open handle `value` when it is of kind `Kind`; null otherwise.
template <typename Kind>
std::shared_ptr<Kind> FindHandleOf(HANDLE value) {
  return std::dynamic_pointer_cast<Kind>(FindHandle(value));
}

// Takes the handle `value` out of the table when `takes` accepts it and
// returns it; null when there is no such handle. Closing it is the caller's.
std::shared_ptr<Handle> RemoveHandle(HANDLE value,
                                     const std::function<bool(const Handle &)> &takes);

// Whether `test` holds for one of the open handles, each looked at under the
// table's lock, so that no handle opens or closes meanwhile.
bool AnyOpenHandle(const std::function<bool(const Handle &)> &test);

}  // namespace standin
