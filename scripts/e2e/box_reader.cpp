// Reads a message box that another program shows, for the end-to-end script:
// what the user sees (the text) and where the buttons are, so that the script
// can check the text and click a button where a user would.
//
//   box-reader.exe <caption>
//
// Prints, in UTF-8, "caption <caption>" (as the box has it: the search itself
// ignores case), one line "button <id> <x> <y> <label>" per button (the point
// is the button's middle on the screen), then "length <n>" (the text's length
// in UTF-16 units), a line "text" and the text itself as shown, line breaks
// included. Exit code 0 when a box with that caption was found, 1 when
// none was, 2 on a bad command line. Built by scripts/e2e-wine.sh with
// mingw-w64; it runs under Wine only, so it is written for Windows alone.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Message boxes are dialogs of this class, on Windows and under Wine.
const wchar_t kDialogClass[] = L"#32770";
// The static control that holds a message box's text.
const int kTextControlId = 0xFFFF;

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
std::wstring WindowText(HWND window) {
  LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

bool IsVisibleButton(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpiW(name, L"Button") == 0 && IsWindowVisible(window);
}

}  // namespace

int wmain(int argc, wchar_t **argv) {
  if (argc != 2) {
    std::fputs("usage: box-reader.exe <caption>\n", stderr);
    return 2;
  }
  // The text goes out byte for byte: no CR ahead of its line breaks.
  _setmode(_fileno(stdout), _O_BINARY);
  HWND box = FindWindowW(kDialogClass, argv[1]);
  if (box == nullptr) return 1;
  std::printf("caption %s\n", Utf8(WindowText(box)).c_str());
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsVisibleButton(child)) continue;
    RECT area;
    GetWindowRect(child, &area);
    std::printf("button %d %ld %ld %s\n", GetDlgCtrlID(child), (area.left + area.right) / 2,
                (area.top + area.bottom) / 2, Utf8(WindowText(child)).c_str());
  }
  HWND textControl = GetDlgItem(box, kTextControlId);
  std::wstring text = textControl != nullptr ? WindowText(textControl) : std::wstring();
  std::printf("length %u\ntext\n%s", static_cast<unsigned>(text.size()), Utf8(text).c_str());
  return 0;
}
