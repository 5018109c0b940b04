// What addbar and the stand-in file manager both know about the file
// manager: where it keeps its settings, how its toolbars and bookmarks are
// stored, and the window that tells it is running.
#pragma once

#include <windows.h>

// ---- Where the settings live ---------------------------------------------------------
// Under HKEY_CURRENT_USER; a named layout appends "." and its name.
extern const WCHAR kBaseKeyPath[];  // "Software\Harrowmede Plc\vantrove_UC"
// Appended to a key path for the layout-independent settings.
extern const WCHAR kGlobalSuffix[];  // ".global"

// ---- The running file manager --------------------------------------------------------
// The title of its top-level window, found by title alone.
extern const WCHAR kFileManagerTitle[];  // "vantrove_CommPort"
// Its own command for "exit", sent as a menu command (WM_COMMAND).
const WORD kCloseCommand = 0xE102;

// ---- Toolbars, under the layout root -------------------------------------------------
extern const WCHAR kToolbarsKeyName[];    // "MainFrame Settings\Toolbars"
extern const WCHAR kToolbarCountValue[];  // "nToolbars"
// The unnamed value of the drive bar's key: how a later run finds it again.
extern const WCHAR kDriveBarMarker[];  // "DRIVEBAR_F2"

// The values of a toolbar key.
extern const WCHAR kToolbarStateValue[];  // "binState"
extern const WCHAR kToolbarFlagsValue[];  // "binTBFlags"
extern const WCHAR kButtonCountValue[];   // "nButtons"
extern const WCHAR kCommandIdsValue[];    // "nCmdIds": 32-bit little-endian ids
// What a drive bar stores in them: the state and flags a toolbar the file
// manager shows gets.
const DWORD kDriveBarState = 129;
const DWORD kDriveBarFlags = 7;

// A new drive bar is refused once the file manager has this many toolbars.
const LONG kMostToolbars = 16;
// The file manager numbers its toolbars from this id on.
const DWORD kFirstToolbarId = 60159;

// ---- Bookmarks, under the global root ------------------------------------------------
extern const WCHAR kBookmarksKeyName[];        // "Favorites"
extern const WCHAR kBookmarkIconsKeyName[];    // "Favorites_icons"
extern const WCHAR kBookmarkIconCountValue[];  // "nCustMenuIcons"

// A new drive bar needs the bookmarks and the drives to stay below this.
const DWORD kMostBookmarks = 100;
// The command of the bookmark at enumeration index i is this plus i.
const DWORD kFirstBookmarkCommand = 40100;
