// Finding what an earlier run left: the toolbar marked as the drive bar, and
// the bookmark of a drive.
#include "app/drive_bar.h"

#include "app/file_manager_facts.h"

CString FindDriveBarToolbar(CSettingsKey &toolbarsKey) {
  for (DWORD index = 0;; ++index) {
    CString name = toolbarsKey.EnumKey(index);
    if (name.IsEmpty()) return CString();
    // A sub-key that does not open has no marker to read.
    CSettingsKey toolbar;
    toolbar.Open(toolbarsKey, name, KEY_READ);
    CString marker = GetStringValue(toolbar, nullptr, nullptr);
    if (lstrcmpiW(marker, kDriveBarMarker) == 0) return name;
    toolbar.Close();
  }
}

int FindDriveBookmark(CSettingsKey &favorites, WCHAR driveLetter) {
  for (DWORD index = 0;; ++index) {
    DWORD type = REG_NONE;
    CString name = favorites.EnumValue(index, type);
    if (name.IsEmpty()) {
      // Only the end of the list has type 0. The unnamed value, wherever it
      // comes in the enumeration, is no bookmark but must not hide those after it.
      if (type == REG_NONE) return 0;
      continue;
    }
    // A bookmark is known by its fourth character alone, the drive letter.
    CString letter = name.Mid(3);
    if (letter.GetLength() == 1 && letter.GetAt(0) == driveLetter) {
      return static_cast<int>(index) + 1;
    }
  }
}
