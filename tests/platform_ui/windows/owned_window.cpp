// OwnedWindow on Windows: a hidden top-level window with its own thread and
// message loop.
#include <windows.h>

#include <thread>

#include "platform_ui/owned_window.h"

struct OwnedWindow::Impl {
  explicit Impl(Answers answers) : log(answers) {}

  HWND window = nullptr;
  LRESULT answer = 0;
  std::thread loop;
  MessageLog log;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto *create = reinterpret_cast<CREATESTRUCTW *>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *self = reinterpret_cast<Impl *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && (message == WM_COMMAND || message >= WM_USER)) {
      self->log.Record({message, wParam, lParam});
      return self->answer;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
  }

  void Run(const WString &title, HANDLE ready) {
    static const WCHAR kClass[] = L"addbar-test-owned-window";
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClass;
    RegisterClassW(&windowClass);  // fails harmlessly once the class exists
    window = CreateWindowExW(0, kClass, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), this);
    SetEvent(ready);
    if (window == nullptr) return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  }
};

OwnedWindow::OwnedWindow(const WString &title, LRESULT answer, Answers answers)
    : m_impl(new Impl(answers)) {
  m_impl->answer = answer;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_impl->loop = std::thread([this, title, ready] { m_impl->Run(title, ready); });
  // The thread sets the event whether or not the window was made.
  WaitForSingleObject(ready, INFINITE);
  CloseHandle(ready);
}

OwnedWindow::~OwnedWindow() { Destroy(); }

bool OwnedWindow::IsOpen() const { return m_impl->window != nullptr; }

void OwnedWindow::Destroy() {
  m_impl->log.Release();
  if (m_impl->window != nullptr) PostMessageW(m_impl->window, WM_CLOSE, 0, 0);
  if (m_impl->loop.joinable()) m_impl->loop.join();
  m_impl->window = nullptr;
}

MessageLog &OwnedWindow::Log() const { return m_impl->log; }
