// The stand-in file manager on Linux: a stand-in window, and the drive bar
// on standard output.
#include <standin_window.h>

#include <chrono>
#include <cstdio>

#include "common/deadline.h"
#include "common/unicode.h"
#include "tools/fm-standin/file_manager_window.h"

namespace {

void WriteTo(FILE *stream, const CString &text) {
  std::string bytes = standin::ToUtf8(standin::ViewOf(text));
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

}  // namespace

void WriteOutput(const CString &text) { WriteTo(stdout, text); }

void WriteError(const CString &text) { WriteTo(stderr, text); }

int RunFileManagerWindow(const DriveBarView &, const CloseDelay &delay) {
  StandinWindow *window = StandinCreateWindow(kFileManagerTitle);
  if (window == nullptr) {
    WriteError(TEXT("fm-standin: cannot open the window (is the window folder usable?)\n"));
    return kExitNoWindow;
  }
  WriteOutput(CString(TEXT("window: ")) + kFileManagerTitle + TEXT("\n"));

  using Clock = standin::MonotonicClock;
  bool closing = false;
  Clock::time_point closeAt;
  for (;;) {
    DWORD wait = kStandinWaitForever;
    if (closing) {
      // The full delay, by the clock: never a fraction of a millisecond less.
      if (Clock::now() >= closeAt) break;
      wait = static_cast<DWORD>(standin::MillisecondsLeft(closeAt));
    }
    StandinMessage message;
    StandinWait result = StandinWaitMessage(window, wait, &message);
    if (result == StandinWait::Failed) break;
    if (result == StandinWait::Timeout) continue;
    // Every message is answered at once, also while the close is pending.
    StandinReplyMessage(window, 0);
    if (message.message == WM_COMMAND && LOWORD(message.wParam) == kCloseCommand && !closing &&
        !delay.never) {
      closing = true;
      closeAt = Clock::now() + std::chrono::milliseconds(delay.milliseconds);
    }
  }
  StandinDestroyWindow(window);
  return kExitClosed;
}
