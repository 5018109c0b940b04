// MessageBoxW on the stand-in: the box is written to standard error (see
// box_report.h) and answered from ADDBAR_ANSWERS, the terminal or its default
// button (see box_answers.h).
#include <windows.h>

#include <unistd.h>
#include <cstdio>
#include <string>

#include "common/unicode.h"
#include "ui/box_answers.h"
#include "ui/box_buttons.h"
#include "ui/box_report.h"
#include "ui/error_box_note.h"

namespace {

// The caption Windows gives a box without one.
const char16_t kDefaultCaption[] = u"Error";

int g_boxesShown = 0;
standin::ErrorBoxNote g_errorBoxNote = nullptr;

void Write(const std::string &text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

std::string Note(const std::string &text) {
  return std::string(standin::kBoxLinePrefix) + "note: " + text + "\n";
}

std::string ButtonList(UINT style) {
  std::string list;
  for (int id : standin::ButtonsOf(style)) {
    if (id == IDHELP) continue;
    if (!list.empty()) list += ", ";
    list += standin::ButtonName(id);
  }
  return list;
}

// Asks on the terminal until a button is named; Enter or the end of input
// gives the default button.
int AskOnTerminal(UINT style) {
  int fallback = standin::DefaultButtonOf(style);
  for (;;) {
    Write(std::string(standin::kBoxLinePrefix) + "prompt: " + ButtonList(style) +
          "? (Enter = " + standin::ButtonName(fallback) + ") ");
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n') line += static_cast<char>(c);
    if (line.find_first_not_of(" \t\r") == std::string::npos) return fallback;
    int pressed = standin::ButtonForAnswer(style, line);
    if (pressed != 0) return pressed;
    if (c == EOF) return fallback;
  }
}

int ChooseAnswer(UINT style, int boxIndex) {
  std::string scripted = standin::ScriptedAnswer(boxIndex);
  if (!scripted.empty()) {
    int pressed = standin::ButtonForAnswer(style, scripted);
    if (pressed != 0) return pressed;
    Write(Note("the answer '" + scripted + "' presses no button of this box"));
  }
  if (isatty(STDIN_FILENO)) return AskOnTerminal(style);
  return standin::DefaultButtonOf(style);
}

}  // namespace

void standin::SetErrorBoxNote(ErrorBoxNote note) { g_errorBoxNote = note; }

int WINAPI MessageBoxW(HWND, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  standin::WString caption(lpCaption != nullptr ? lpCaption : kDefaultCaption);
  standin::WString text(standin::ViewOf(lpText));
  if ((uType & MB_ICONMASK) == MB_ICONERROR && g_errorBoxNote != nullptr) g_errorBoxNote(text);
  Write(standin::FormatBoxOpening(caption, text, uType));
  int answer = ChooseAnswer(uType, g_boxesShown++);
  Write(standin::FormatBoxClosing(answer));
  return answer;
}
