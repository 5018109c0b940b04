// A top-level window that the test itself owns, run by a thread of its own:
// it answers each message of interest (WM_COMMAND and WM_USER upwards) with a
// chosen value and keeps what it got. Its answers may be held back until the
// test lets them go, so that a test can see a sender wait for the answer. A
// real window on Windows, a stand-in window on Linux.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "support/test_support.h"

struct ReceivedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

enum class Answers { AtOnce, HeldUntilReleased };

// What the window got, and the gate its answers wait at: shared by the
// window's thread and the test.
class MessageLog {
 public:
  explicit MessageLog(Answers answers) : m_held(answers == Answers::HeldUntilReleased) {}

  // The window's side: keeps the message, then waits while answers are held.
  void Record(const ReceivedMessage &message) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_received.push_back(message);
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return !m_held; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_held = false;
    m_changed.notify_all();
  }
  // False only when a message that was sent never came (within a bound that
  // merely ends a wait that went wrong).
  bool WaitForCount(size_t count) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::minutes(2),
                              [&] { return m_received.size() >= count; });
  }
  std::vector<ReceivedMessage> All() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
  }

 private:
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::vector<ReceivedMessage> m_received;
  bool m_held;
};

class OwnedWindow {
 public:
  explicit OwnedWindow(const WString &title, LRESULT answer = 0, Answers answers = Answers::AtOnce);
  ~OwnedWindow();
  OwnedWindow(const OwnedWindow &) = delete;
  OwnedWindow &operator=(const OwnedWindow &) = delete;

  // Whether the window was made.
  bool IsOpen() const;
  // The window goes away; a second call does nothing. Held answers go first.
  void Destroy();
  std::vector<ReceivedMessage> Received() const { return Log().All(); }
  // Waits until `count` messages have come in; false if they never do.
  bool WaitUntilReceived(size_t count) const { return Log().WaitForCount(count); }
  // Held answers go, and later ones are no longer held.
  void ReleaseAnswers() { Log().Release(); }

  // The platform's side, in linux/ or windows/.
  struct Impl;

 private:
  MessageLog &Log() const;
  std::unique_ptr<Impl> m_impl;
};
