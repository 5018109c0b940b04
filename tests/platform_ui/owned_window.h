// A top-level window that the test itself owns, run by a thread of its own:
// it answers each message of interest (WM_COMMAND and WM_USER upwards) with a
// chosen value after a chosen delay, and keeps what it got. A real window on
// Windows, a stand-in window on Linux.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

#include "support/test_support.h"

struct ReceivedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class OwnedWindow {
 public:
  explicit OwnedWindow(const WString &title, LRESULT answer = 0, DWORD answerDelayMs = 0);
  ~OwnedWindow();
  OwnedWindow(const OwnedWindow &) = delete;
  OwnedWindow &operator=(const OwnedWindow &) = delete;

  // Whether the window was made.
  bool IsOpen() const;
  // The window goes away; a second call does nothing.
  void Destroy();
  std::vector<ReceivedMessage> Received() const;

  // The platform's side, in linux/ or windows/.
  struct Impl;

 private:
  std::unique_ptr<Impl> m_impl;
};
