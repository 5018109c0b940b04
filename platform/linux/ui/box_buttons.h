// The buttons a message box style shows, which one is the default, and what a
// typed or scripted answer presses.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

// Button ids in the order the box shows them (MB_HELP adds Help last).
std::vector<int> ButtonsOf(UINT style);

// The MB_DEFBUTTONn-th button; the first when the style names one the box
// doesn't have, or Help.
int DefaultButtonOf(UINT style);

// "OK", "Cancel", "Try Again", …; "none" for 0, "?" for unknown ids.
std::string ButtonName(int id);

// The button an answer word presses (case ignored, blanks around it too): a
// button's name presses it; "cancel" on a box with only OK closes it the way
// Escape does, with IDOK. 0 when the word presses nothing on this box.
int ButtonForAnswer(UINT style, const std::string &word);

}  // namespace standin
