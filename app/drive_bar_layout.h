// Where and how the file manager keeps its toolbars and bookmarks, as the
// drive bar reads and writes them.
#pragma once

#include <windows.h>

// Under the layout root.
extern const WCHAR kToolbarsKeyName[];  // "MainFrame Settings\Toolbars"
extern const WCHAR kToolbarCountValue[];
extern const WCHAR kDriveBarMarker[];  // the unnamed value of the drive bar's key

// Under the global root.
extern const WCHAR kBookmarksKeyName[];
extern const WCHAR kBookmarkIconsKeyName[];
extern const WCHAR kBookmarkIconCountValue[];

// A new drive bar is refused once the file manager has this many toolbars.
const LONG kMostToolbars = 16;
// A new drive bar needs the bookmarks and the drives to stay below this.
const DWORD kMostBookmarks = 100;
// The file manager numbers its toolbars from this id on.
const DWORD kFirstToolbarId = 60159;
// The command of the bookmark at enumeration index i is this plus i.
const DWORD kFirstBookmarkCommand = 40100;
