// OwnedWindow on the stand-in: a thread waits on the window's socket.
#include <standin_window.h>

#include <atomic>
#include <thread>

#include "platform_ui/owned_window.h"

struct OwnedWindow::Impl {
  explicit Impl(Answers answers) : log(answers) {}

  StandinWindow *window = nullptr;
  LRESULT answer = 0;
  std::atomic<bool> stop{false};
  std::thread loop;
  MessageLog log;

  void Run() {
    while (!stop) {
      StandinMessage message;
      // A short wait, so that the loop sees `stop` soon.
      StandinWait result = StandinWaitMessage(window, 20, &message);
      if (result == StandinWait::Failed) return;
      if (result != StandinWait::Message) continue;
      log.Record({message.message, message.wParam, message.lParam});
      StandinReplyMessage(window, answer);
    }
  }
};

OwnedWindow::OwnedWindow(const WString &title, LRESULT answer, Answers answers)
    : m_impl(new Impl(answers)) {
  m_impl->answer = answer;
  m_impl->window = StandinCreateWindow(title.c_str());
  if (m_impl->window != nullptr) m_impl->loop = std::thread([this] { m_impl->Run(); });
}

OwnedWindow::~OwnedWindow() { Destroy(); }

bool OwnedWindow::IsOpen() const { return m_impl->window != nullptr; }

void OwnedWindow::Destroy() {
  m_impl->log.Release();
  m_impl->stop = true;
  if (m_impl->loop.joinable()) m_impl->loop.join();
  StandinDestroyWindow(m_impl->window);
  m_impl->window = nullptr;
}

MessageLog &OwnedWindow::Log() const { return m_impl->log; }
