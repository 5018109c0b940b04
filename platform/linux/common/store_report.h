// What the settings stores (the registry store file, INI files) tell the user
// on standard error when a file can't be used: one line naming the file and
// the reason, each line once per process, since every later call fails the
// same way. The program's own message box says only what failed.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// Prints "addbar: <text>" and a line break, unless this text was printed before.
void ReportStoreProblem(const std::string &text);

// Whether this process has printed any such line.
bool StoreProblemReported();

// The reason an errno value gives, in plain words.
std::string ReasonOf(int error);

// The reason a read or a write of the file at `path` failed with the Win32
// `status`, in plain words; the file is looked at again where the status
// alone can't tell (a read-only file, something else than a file).
std::string ReasonOfStatus(const std::string &path, DWORD status, bool writing);

}  // namespace standin
