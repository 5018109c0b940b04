// The names the drive bar gives to what it adds.
#include "app/drive_bar.h"

CString MakeToolbarKeyName(DWORD toolbarNumber, DWORD toolbarId) {
  CString name;
  name.Format(TEXT("%X_%05d"), toolbarNumber, toolbarId);
  return name;
}

CString MakeBookmarkName(DWORD bookmarkNumber, WCHAR driveLetter) {
  CString name;
  name.Format(TEXT("%02X_%c"), bookmarkNumber, static_cast<int>(driveLetter));
  return name;
}
