#include "app/running_instance.h"

#include "app/file_manager_facts.h"

namespace {

const WCHAR kPrompt[] = TEXT("click OK to quit vantrove");
const DWORD kPollMilliseconds = 500;
const int kPollsPerRequest = 6;

}  // namespace

ShutdownOutcome CloseRunningInstance() {
  for (;;) {
    HWND window = FindWindowW(NULL, kFileManagerTitle);
    if (window == NULL) return ShutdownOutcome::Continue;
    // No owner and no caption: the platform's default caption shows.
    if (MessageBoxW(NULL, kPrompt, NULL, MB_OKCANCEL | MB_ICONWARNING) == IDCANCEL) {
      return ShutdownOutcome::Cancelled;
    }
    SendMessageW(window, WM_COMMAND, kCloseCommand, 0);
    for (int poll = 0; poll < kPollsPerRequest; ++poll) {
      Sleep(kPollMilliseconds);
      if (FindWindowW(NULL, kFileManagerTitle) == NULL) return ShutdownOutcome::Continue;
    }
    // Still there after about three seconds: ask the user again.
  }
}
