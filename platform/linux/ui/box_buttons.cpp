#include "ui/box_buttons.h"

#include <cctype>

namespace standin {

namespace {

struct NamedButton {
  int id;
  const char *name;
};

const NamedButton kButtonNames[] = {{IDOK, "OK"},
                                    {IDCANCEL, "Cancel"},
                                    {IDABORT, "Abort"},
                                    {IDRETRY, "Retry"},
                                    {IDIGNORE, "Ignore"},
                                    {IDYES, "Yes"},
                                    {IDNO, "No"},
                                    {IDHELP, "Help"},
                                    {IDTRYAGAIN, "Try Again"},
                                    {IDCONTINUE, "Continue"}};

std::string Folded(const std::string &word) {
  size_t first = word.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  size_t last = word.find_last_not_of(" \t\r\n");
  std::string folded = word.substr(first, last - first + 1);
  for (char &c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

}  // namespace

std::vector<int> ButtonsOf(UINT style) {
  std::vector<int> buttons;
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
      buttons = {IDOK, IDCANCEL};
      break;
    case MB_ABORTRETRYIGNORE:
      buttons = {IDABORT, IDRETRY, IDIGNORE};
      break;
    case MB_YESNOCANCEL:
      buttons = {IDYES, IDNO, IDCANCEL};
      break;
    case MB_YESNO:
      buttons = {IDYES, IDNO};
      break;
    case MB_RETRYCANCEL:
      buttons = {IDRETRY, IDCANCEL};
      break;
    case MB_CANCELTRYCONTINUE:
      buttons = {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
      break;
    default:  // MB_OK, and types the platform doesn't know
      buttons = {IDOK};
      break;
  }
  if (style & MB_HELP) buttons.push_back(IDHELP);
  return buttons;
}

int DefaultButtonOf(UINT style) {
  std::vector<int> buttons = ButtonsOf(style);
  size_t index = (style & MB_DEFMASK) >> 8;
  // Help doesn't close a box, so it can't be the answer of one.
  if (index >= buttons.size() || buttons[index] == IDHELP) return buttons.front();
  return buttons[index];
}

std::string ButtonName(int id) {
  if (id == 0) return "none";
  for (const NamedButton &button : kButtonNames) {
    if (button.id == id) return button.name;
  }
  return "?";
}

int ButtonForAnswer(UINT style, const std::string &word) {
  std::string wanted = Folded(word);
  std::vector<int> buttons = ButtonsOf(style);
  for (int id : buttons) {
    // Help doesn't close a box.
    if (id != IDHELP && Folded(ButtonName(id)) == wanted) return id;
  }
  if (wanted == "cancel" && (style & MB_TYPEMASK) == MB_OK) return IDOK;
  return 0;
}

}  // namespace standin
