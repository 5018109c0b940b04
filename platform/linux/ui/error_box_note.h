// A program may add a note of its own, on standard error, to the error boxes
// it shows (MB_ICONERROR): the note is called with the box's text just before
// the box is written. The box itself stays as it is.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

using ErrorBoxNote = void (*)(const std::basic_string<WCHAR> &text);

// Null takes the note away.
void SetErrorBoxNote(ErrorBoxNote note);

}  // namespace standin
