#include "app/file_manager_facts.h"

const WCHAR kBaseKeyPath[] = TEXT("Software\\Harrowmede Plc\\vantrove_UC");
const WCHAR kGlobalSuffix[] = TEXT(".global");

const WCHAR kFileManagerTitle[] = TEXT("vantrove_CommPort");

const WCHAR kToolbarsKeyName[] = TEXT("MainFrame Settings\\Toolbars");
const WCHAR kToolbarCountValue[] = TEXT("nToolbars");
const WCHAR kDriveBarMarker[] = TEXT("DRIVEBAR_F2");

const WCHAR kToolbarStateValue[] = TEXT("binState");
const WCHAR kToolbarFlagsValue[] = TEXT("binTBFlags");
const WCHAR kButtonCountValue[] = TEXT("nButtons");
const WCHAR kCommandIdsValue[] = TEXT("nCmdIds");

const WCHAR kBookmarksKeyName[] = TEXT("Favorites");
const WCHAR kBookmarkIconsKeyName[] = TEXT("Favorites_icons");
const WCHAR kBookmarkIconCountValue[] = TEXT("nCustMenuIcons");
