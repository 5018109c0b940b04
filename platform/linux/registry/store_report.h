// What the registry calls tell the user on standard error when the store
// can't be used: one line naming the file and the reason, each line once per
// process, since every later call fails the same way.
#pragma once

#include <string>

namespace standin {

// Prints "addbar: <text>" and a line break, unless this text was printed before.
void ReportStoreProblem(const std::string &text);

// The reason an errno value gives, in plain words.
std::string ReasonOf(int error);

}  // namespace standin
