// On Linux, addbar adds one line on standard error to its boxes "cannot
// locate toolbar settings" and "cannot write toolbar settings": which file
// holds the settings and what is wrong with it. The settings calls name the
// file themselves when one of them fails (a registry store that can't be
// read, a write that failed); this note speaks only when none of them did,
// and finds the cause in the file as it is: missing, unreadable, read-only,
// or without the toolbar settings.
#pragma once

#include "common/unicode.h"

namespace standin {

// Called with the text of each error box (see ui/error_box_note.h).
void NoteSettingsTrouble(const WString &boxText);

}  // namespace standin
