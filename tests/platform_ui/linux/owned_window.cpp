// OwnedWindow on the stand-in: a thread waits on the window's socket.
#include <standin_window.h>

#include <atomic>
#include <thread>

#include "platform_ui/owned_window.h"

struct OwnedWindow::Impl {
  StandinWindow *window = nullptr;
  LRESULT answer = 0;
  DWORD answerDelayMs = 0;
  std::atomic<bool> stop{false};
  std::thread loop;
  mutable std::mutex mutex;
  std::vector<ReceivedMessage> received;

  void Run() {
    while (!stop) {
      StandinMessage message;
      StandinWait result = StandinWaitMessage(window, 20, &message);
      if (result == StandinWait::Failed) return;
      if (result != StandinWait::Message) continue;
      {
        std::lock_guard<std::mutex> lock(mutex);
        received.push_back({message.message, message.wParam, message.lParam});
      }
      Sleep(answerDelayMs);
      StandinReplyMessage(window, answer);
    }
  }
};

OwnedWindow::OwnedWindow(const WString &title, LRESULT answer, DWORD answerDelayMs)
    : m_impl(new Impl()) {
  m_impl->answer = answer;
  m_impl->answerDelayMs = answerDelayMs;
  m_impl->window = StandinCreateWindow(title.c_str());
  if (m_impl->window != nullptr) m_impl->loop = std::thread([this] { m_impl->Run(); });
}

OwnedWindow::~OwnedWindow() { Destroy(); }

bool OwnedWindow::IsOpen() const { return m_impl->window != nullptr; }

void OwnedWindow::Destroy() {
  m_impl->stop = true;
  if (m_impl->loop.joinable()) m_impl->loop.join();
  StandinDestroyWindow(m_impl->window);
  m_impl->window = nullptr;
}

std::vector<ReceivedMessage> OwnedWindow::Received() const {
  std::lock_guard<std::mutex> lock(m_impl->mutex);
  return m_impl->received;
}
