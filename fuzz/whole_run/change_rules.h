// What a run may change in a store: the drive bar's key, new bookmarks and
// their icon entries, "nToolbars" and "nCustMenuIcons", and the keys and
// empty unnamed entries that opening those for writing makes. Everything
// else the user stored stays as it was.
#pragma once

#include <string>

#include "whole_run/store_view.h"

struct RunFacts {
  WString toolbars;        // "MainFrame Settings\Toolbars" of the layout root
  WString toolbarsParent;  // its parent, "MainFrame Settings"
  WString global;          // the global root
  WString bookmarks;       // "Favorites"
  WString icons;           // "Favorites_icons"
  WString driveBar;        // the drive bar's key; empty when there is none
  std::string drives;      // the drive letters, upper case, in order
};

// The letters of the run's drives that have a bookmark in `view`: a value of
// "Favorites" whose name has four units, the last the letter, none of them
// null, and whose text is the drive's root, letter case aside.
std::string DrivesWithBookmarks(const StoreView &view, const RunFacts &run);

// The first change from `before` to `after` that a run may not make, in
// words; empty when there is none. A new bookmark for a drive that had one,
// or two for one drive, is such a change too.
std::string ForbiddenChange(const StoreView &before, const StoreView &after, const RunFacts &run);
