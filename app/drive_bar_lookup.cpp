// Finding what an earlier run left: the toolbar marked as the drive bar, and
// the bookmark of a drive. The number of names a key holds tells where its
// listing ends: a name that is empty (the unnamed value, an INI line or
// section without a name) looks like the end, and must hide nothing after it.
#include "app/drive_bar.h"

#include "app/file_manager_facts.h"

bool FindDriveBarToolbar(CSettingsKey &toolbarsKey, CString &name) {
  name.Empty();
  DWORD count = 0;
  if (!toolbarsKey.QueryInfo(&count, nullptr, nullptr)) return false;
  const bool whole = toolbarsKey.ListedWhole() != FALSE;
  for (DWORD index = 0; index < count; ++index) {
    CString subKey = toolbarsKey.EnumKey(index);
    if (subKey.IsEmpty()) continue;
    // A sub-key that does not open has no marker to read.
    CSettingsKey toolbar;
    toolbar.Open(toolbarsKey, subKey, KEY_READ);
    if (lstrcmpiW(GetStringValue(toolbar, nullptr, nullptr), kDriveBarMarker) == 0) {
      name = subKey;
      return true;
    }
  }
  return whole;
}

bool FindDriveBookmarks(CSettingsKey &favorites, const WCHAR *drives, DWORD driveCount,
                        int *positions) {
  for (DWORD drive = 0; drive < driveCount; ++drive) positions[drive] = 0;
  DWORD count = 0;
  if (!favorites.QueryInfo(nullptr, &count, nullptr)) return false;
  const bool whole = favorites.ListedWhole() != FALSE;
  for (DWORD index = 0; index < count; ++index) {
    DWORD type = REG_NONE;
    CString name = favorites.EnumValue(index, type);
    if (name.GetLength() != 4) continue;
    for (DWORD drive = 0; drive < driveCount; ++drive) {
      LPCWSTR root = drives + 4 * drive;
      if (name.GetAt(3) != root[0]) continue;
      // The letter alone would take a user's "TEMP" for drive P's: only a
      // bookmark that opens the drive's root is the drive's.
      if (positions[drive] == 0 && lstrcmpiW(GetStringValue(favorites, name, nullptr), root) == 0) {
        positions[drive] = static_cast<int>(index) + 1;
      }
      break;
    }
  }
  return whole;
}

int FindDriveBookmark(CSettingsKey &favorites, WCHAR driveLetter) {
  const WCHAR root[4] = {driveLetter, TEXT(':'), TEXT('\\'), 0};
  int position = 0;
  FindDriveBookmarks(favorites, root, 1, &position);
  return position;
}
