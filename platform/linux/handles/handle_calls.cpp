// CloseHandle and WaitForSingleObject: the calls that take a handle of any
// kind find it and leave the rest to its kind (handle.h).
#include <windows.h>

#include "handles/handle_table.h"

namespace standin {

DWORD Handle::Wait(DWORD /*milliseconds*/) {
  SetLastError(ERROR_INVALID_HANDLE);
  return WAIT_FAILED;
}

}  // namespace standin

BOOL WINAPI CloseHandle(HANDLE hObject) {
  std::shared_ptr<standin::Handle> handle = standin::RemoveHandle(
      hObject, [](const standin::Handle &open) { return open.IsKernelObject(); });
  if (handle == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  handle->Close();
  return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  std::shared_ptr<standin::Handle> handle = standin::FindHandle(hHandle);
  if (handle == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  return handle->Wait(dwMilliseconds);
}
