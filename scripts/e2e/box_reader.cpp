// Reads a message box that another program shows, for the end-to-end script:
// what the user sees (the text) and where the buttons are, so that the script
// can check the text and click a button where a user would.
//
//   box-reader.exe <caption> [seconds]
//
// Waits up to <seconds> (default 0: one look) until a shown message box with
// exactly that caption is there and has answered with its text. Then prints,
// in UTF-8, "caption <caption>", one line "button <id> <x> <y> <label>" per
// button (the point is the button's middle on the screen), then "length <n>"
// (the text's length in UTF-16 units), a line "text" and the text itself as
// shown, line breaks included. Exit code 0 when such a box was read, 1 when
// none was, 2 on a bad command line. Built by scripts/e2e-wine.sh with
// mingw-w64; it runs under Wine only, so it is written for Windows alone.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Message boxes are dialogs of this class, on Windows and under Wine.
const wchar_t kDialogClass[] = L"#32770";
// The static control that holds a message box's text.
const int kTextControlId = 0xFFFF;
// How often to look again while no box is there yet.
const DWORD kLookAgainMs = 50;

std::string Utf8(const std::wstring &text) {
  if (text.empty()) return std::string();
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                      nullptr, nullptr);
  return bytes;
}

// WM_GETTEXT is marshalled across processes; most control messages are not.
// The box's thread answers when it next looks at its messages: the wait may
// last up to `waitMs`, and is not cut short as "hung", since Wine counts a
// thread that has not looked for five seconds as hung and gives no text.
bool WindowText(HWND window, DWORD waitMs, std::wstring &text) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, waitMs, &length))
    return false;
  std::vector<wchar_t> buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL, waitMs, &copied))
    return false;
  text.assign(buffer.data(), copied < length ? copied : length);
  return true;
}

struct Search {
  const wchar_t *caption;
  HWND found;
};

// Only a shown box: a message box is made hidden and shown once its text is
// in place.
BOOL CALLBACK FindShownBox(HWND window, LPARAM context) {
  Search &search = *reinterpret_cast<Search *>(context);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (lstrcmpW(className, kDialogClass) != 0 || !IsWindowVisible(window)) return TRUE;
  int length = GetWindowTextLengthW(window);
  std::vector<wchar_t> caption(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, caption.data(), length + 1);
  if (std::wcscmp(caption.data(), search.caption) != 0) return TRUE;
  search.found = window;
  return FALSE;
}

bool IsVisibleButton(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpiW(name, L"Button") == 0 && IsWindowVisible(window);
}

struct Button {
  int id;
  long x, y;
  std::wstring label;
};

struct Box {
  std::wstring caption;
  std::vector<Button> buttons;
  std::wstring text;
};

bool ReadBox(HWND box, DWORD waitMs, Box &read) {
  HWND textControl = GetDlgItem(box, kTextControlId);
  if (textControl == nullptr || !WindowText(box, waitMs, read.caption) ||
      !WindowText(textControl, waitMs, read.text))
    return false;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsVisibleButton(child)) continue;
    RECT area;
    GetWindowRect(child, &area);
    Button button = {GetDlgCtrlID(child), (area.left + area.right) / 2,
                     (area.top + area.bottom) / 2, std::wstring()};
    if (!WindowText(child, waitMs, button.label)) return false;
    read.buttons.push_back(button);
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t **argv) {
  if (argc != 2 && argc != 3) {
    std::fputs("usage: box-reader.exe <caption> [seconds]\n", stderr);
    return 2;
  }
  const DWORD limitMs = argc == 3 ? static_cast<DWORD>(_wtoi(argv[2])) * 1000 : 0;
  // The text goes out byte for byte: no CR ahead of its line breaks.
  _setmode(_fileno(stdout), _O_BINARY);
  const ULONGLONG deadline = GetTickCount64() + limitMs;
  Box box;
  for (;;) {
    Search search = {argv[1], nullptr};
    EnumWindows(FindShownBox, reinterpret_cast<LPARAM>(&search));
    ULONGLONG now = GetTickCount64();
    DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    // A box that went away meanwhile, or could not answer yet, is looked for again.
    if (search.found != nullptr && ReadBox(search.found, left > 0 ? left : 1000, box)) break;
    box = Box();
    if (GetTickCount64() >= deadline) return 1;
    Sleep(kLookAgainMs);
  }
  std::printf("caption %s\n", Utf8(box.caption).c_str());
  for (const Button &button : box.buttons) {
    std::printf("button %d %ld %ld %s\n", button.id, button.x, button.y,
                Utf8(button.label).c_str());
  }
  std::printf("length %u\ntext\n%s", static_cast<unsigned>(box.text.size()),
              Utf8(box.text).c_str());
  return 0;
}
