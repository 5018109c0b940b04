// The drive bar as the file manager would show it: the marked toolbar, and
// for each of its buttons the drive root that the button's command opens.
#pragma once

#include <windows.h>

#include <vector>

#include "settings/settings_root.h"
#include "text/cstring.h"

struct DriveButton {
  DWORD commandId;
  CString root;  // empty when the command names no bookmark
};

struct DriveBarView {
  CString toolbarName;  // empty: no toolbar is marked as the drive bar
  std::vector<DriveButton> buttons;
};

// Reads the drive bar from the settings store: its buttons' commands from
// "nCmdIds", each command 40100 + i resolved to the text of the value at
// index i of the enumeration of "Favorites".
DriveBarView ReadDriveBarView(const CSettingsRoot &layoutRoot, const CSettingsRoot &globalRoot);

// The drive bar as lines of text: "drive bar: <name>" (or "drive bar: none"),
// then "button <n>: <root>" for each button, n from 1, with
// "? (command <id>)" for a command that names no bookmark.
CString DescribeDriveBar(const DriveBarView &view);
