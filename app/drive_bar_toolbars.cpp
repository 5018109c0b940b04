// The toolbar number of a new drive bar, and "nToolbars" once a drive bar
// exists. The count is the file manager's, and it may be missing, of another
// type or out of range: the new drive bar must still never take the key of
// another toolbar, and no count written may have wrapped.
#include "app/drive_bar.h"

#include "app/file_manager_facts.h"

namespace {

// "nToolbars" when it reads as a count at all: a number with its top bit set
// is no count the file manager wrote.
bool ReadToolbarCount(CSettingsKey &toolbarsKey, DWORD &count) {
  return toolbarsKey.QueryDwordValue(count, kToolbarCountValue) == ERROR_SUCCESS &&
         count < 0x80000000;
}

DWORD CountToolbarKeys(CSettingsKey &toolbarsKey) {
  DWORD keys = 0;
  if (!toolbarsKey.QueryInfo(&keys, nullptr, nullptr)) keys = 0;
  return keys;
}

// Whether the toolbar key `name` holds anything: an empty key is what a run
// leaves that ended right after creating it, and is taken again.
bool IsToolbarKeyInUse(CSettingsKey &toolbarsKey, const CString &name) {
  CSettingsKey toolbar;
  LONG status = toolbar.Open(toolbarsKey, name, KEY_READ);
  // Missing, or an INI section without lines.
  if (status == ERROR_FILE_NOT_FOUND || status == E_FAIL) return false;
  DWORD subKeys = 0;
  DWORD values = 0;
  // A key that can't be looked into is left alone.
  if (status != ERROR_SUCCESS || !toolbar.QueryInfo(&subKeys, &values, nullptr)) return true;
  return subKeys != 0 || values != 0;
}

}  // namespace

bool ChooseToolbarNumber(CSettingsKey &toolbarsKey, DWORD &number) {
  if (!ReadToolbarCount(toolbarsKey, number)) number = CountToolbarKeys(toolbarsKey);
  const DWORD limit = static_cast<DWORD>(kMostToolbars);
  while (number < limit &&
         IsToolbarKeyInUse(toolbarsKey, MakeToolbarKeyName(number, number + kFirstToolbarId))) {
    ++number;
  }
  return number < limit;
}

BOOL ReconcileToolbarCount(const CSettingsRoot &layoutRoot, CSettingsKey &toolbarsKey,
                           const CString &driveBarName) {
  // The drive bar's own number, when it bears a name this program gives.
  DWORD wanted = 0;
  for (DWORD number = 0; number < static_cast<DWORD>(kMostToolbars); ++number) {
    if (lstrcmpiW(driveBarName, MakeToolbarKeyName(number, number + kFirstToolbarId)) == 0) {
      wanted = number + 1;
    }
  }
  DWORD count = 0;
  const bool readable = ReadToolbarCount(toolbarsKey, count);
  if (!readable) {
    DWORD keys = CountToolbarKeys(toolbarsKey);
    if (keys > wanted && keys <= static_cast<DWORD>(kMostToolbars)) wanted = keys;
  }
  if (wanted == 0 || (readable && count >= wanted)) return TRUE;
  return layoutRoot.WriteDword(kToolbarsKeyName, kToolbarCountValue, wanted);
}
