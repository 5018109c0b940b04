#include "app/drive_bar_layout.h"

const WCHAR kToolbarsKeyName[] = TEXT("MainFrame Settings\\Toolbars");
const WCHAR kToolbarCountValue[] = TEXT("nToolbars");
const WCHAR kDriveBarMarker[] = TEXT("DRIVEBAR_F2");

const WCHAR kBookmarksKeyName[] = TEXT("Favorites");
const WCHAR kBookmarkIconsKeyName[] = TEXT("Favorites_icons");
const WCHAR kBookmarkIconCountValue[] = TEXT("nCustMenuIcons");
