// The stand-in file manager on Windows: a real top-level window with a
// toolbar of one text button per drive; the drive bar also goes to standard
// output when the program was given one.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "tools/fm-standin/file_manager_window.h"

namespace {

const WCHAR kFrameClass[] = L"fm-standin frame";
const UINT_PTR kCloseTimer = 1;

struct FrameState {
  CloseDelay delay;
  bool closing = false;
  HWND toolbar = nullptr;
};

void WriteTo(DWORD which, const CString &text) {
  HANDLE stream = GetStdHandle(which);
  if (stream == nullptr || stream == INVALID_HANDLE_VALUE) return;
  int size = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return;
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), &bytes[0], size, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

LRESULT CALLBACK FrameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto *create = reinterpret_cast<CREATESTRUCTW *>(lParam);
    SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto *state = reinterpret_cast<FrameState *>(GetWindowLongPtrW(frame, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
      // Returning answers the sender at once; the window goes afterwards.
      if (LOWORD(wParam) == kCloseCommand && state != nullptr && !state->closing &&
          !state->delay.never) {
        state->closing = true;
        if (state->delay.milliseconds == 0) {
          PostMessageW(frame, WM_CLOSE, 0, 0);
        } else {
          SetTimer(frame, kCloseTimer, state->delay.milliseconds, nullptr);
        }
      }
      return 0;
    case WM_TIMER:
      if (wParam == kCloseTimer) {
        KillTimer(frame, kCloseTimer);
        DestroyWindow(frame);
      }
      return 0;
    case WM_SIZE:
      if (state != nullptr && state->toolbar != nullptr) {
        SendMessageW(state->toolbar, TB_AUTOSIZE, 0, 0);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(kExitClosed);
      return 0;
    default:
      return DefWindowProcW(frame, message, wParam, lParam);
  }
}

HWND CreateDriveToolbar(HWND frame, const DriveBarView &view, std::vector<std::wstring> &texts) {
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0, 0, 0,
                                 frame, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (toolbar == nullptr) return nullptr;
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // Text buttons: no images at all.
  SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  texts.clear();
  for (const DriveButton &button : view.buttons) {
    texts.push_back(button.root.IsEmpty() ? std::wstring(L"?") : std::wstring(button.root));
  }
  std::vector<TBBUTTON> buttons(view.buttons.size());
  for (size_t i = 0; i < buttons.size(); ++i) {
    buttons[i] = TBBUTTON();
    buttons[i].iBitmap = I_IMAGENONE;
    buttons[i].idCommand = static_cast<int>(view.buttons[i].commandId);
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
    buttons[i].iString = reinterpret_cast<INT_PTR>(texts[i].c_str());
  }
  if (!buttons.empty()) {
    SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  }
  SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
  return toolbar;
}

}  // namespace

void WriteOutput(const CString &text) { WriteTo(STD_OUTPUT_HANDLE, text); }

void WriteError(const CString &text) { WriteTo(STD_ERROR_HANDLE, text); }

int RunFileManagerWindow(const DriveBarView &view, const CloseDelay &delay) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW frameClass = {};
  frameClass.lpfnWndProc = FrameProcedure;
  frameClass.hInstance = instance;
  frameClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  frameClass.lpszClassName = kFrameClass;
  RegisterClassW(&frameClass);

  FrameState state;
  state.delay = delay;
  // A plain bordered popup, shown without taking the focus: under Wine on a
  // display without a window manager, a framed or active window takes two
  // seconds to go, waiting for a manager that never answers, and the
  // installer's polls would see it linger.
  HWND frame = CreateWindowExW(0, kFrameClass, kFileManagerTitle, WS_POPUP | WS_BORDER, 40, 40, 480,
                               120, nullptr, nullptr, instance, &state);
  if (frame == nullptr) {
    WriteError(TEXT("fm-standin: cannot open the window\n"));
    return kExitNoWindow;
  }
  std::vector<std::wstring> texts;
  state.toolbar = CreateDriveToolbar(frame, view, texts);
  ShowWindow(frame, SW_SHOWNOACTIVATE);
  UpdateWindow(frame);
  WriteOutput(CString(TEXT("window: ")) + kFileManagerTitle + TEXT("\n"));

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
