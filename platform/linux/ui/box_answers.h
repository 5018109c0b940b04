// Where a stand-in message box gets its answer: the scripted list in
// ADDBAR_ANSWERS (comma-separated button names, one per box, in order), else
// the terminal when standard input is one, else the box's default button.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

// The words of an answer list; an empty list has none.
std::vector<std::string> SplitAnswers(const std::string &list);

// The scripted answer for the box with index `boxIndex` (0 = the process's
// first box), or an empty text when the list is unset or exhausted.
std::string ScriptedAnswer(int boxIndex);

}  // namespace standin
