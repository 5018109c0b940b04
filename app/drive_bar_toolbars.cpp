// The toolbar number of a new drive bar, and "nToolbars" once a drive bar
// exists. The count is the file manager's, and it may be missing, of another
// type or out of range: the new drive bar must still never take the key of
// another toolbar, and no count written may have wrapped. Where the count
// names a free key it is used as it is.
#include "app/drive_bar.h"

#include "app/file_manager_facts.h"

namespace {

// "nToolbars" as a run reads it: 0 when it can't be read. False for a number
// with its top bit set, which is no count the file manager wrote and would
// wrap once counted on.
bool ReadToolbarCount(CSettingsKey &toolbarsKey, DWORD &count) {
  if (toolbarsKey.QueryDwordValue(count, kToolbarCountValue) != ERROR_SUCCESS) count = 0;
  return count < 0x80000000;
}

bool IsNamed(LPCWSTR name, LPCWSTR other) {
  return other != nullptr && lstrcmpiW(name, other) == 0;
}

// Whether the toolbar key `name` holds anything: an empty key is what a run
// leaves that ended right after creating it, and is taken again.
bool IsToolbarKeyInUse(CSettingsKey &toolbarsKey, LPCWSTR name) {
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

// The toolbar keys that hold anything, leaving out `freeKey`.
DWORD CountToolbarsInUse(CSettingsKey &toolbarsKey, LPCWSTR freeKey) {
  DWORD keys = 0;
  if (!toolbarsKey.QueryInfo(&keys, nullptr, nullptr)) return 0;
  DWORD inUse = 0;
  for (DWORD index = 0; index < keys; ++index) {
    CString name = toolbarsKey.EnumKey(index);
    if (!name.IsEmpty() && !IsNamed(name, freeKey) && IsToolbarKeyInUse(toolbarsKey, name)) {
      ++inUse;
    }
  }
  return inUse;
}

// The number a new drive bar gets, with the key `freeKey` (or none) taken as
// free whatever it holds.
bool PickToolbarNumber(CSettingsKey &toolbarsKey, LPCWSTR freeKey, DWORD &number) {
  if (!ReadToolbarCount(toolbarsKey, number)) number = CountToolbarsInUse(toolbarsKey, freeKey);
  const DWORD limit = static_cast<DWORD>(kMostToolbars);
  for (; number < limit; ++number) {
    CString name = MakeToolbarKeyName(number, number + kFirstToolbarId);
    if (IsNamed(name, freeKey) || !IsToolbarKeyInUse(toolbarsKey, name)) break;
  }
  return number < limit;
}

}  // namespace

bool ChooseToolbarNumber(CSettingsKey &toolbarsKey, DWORD &number) {
  return PickToolbarNumber(toolbarsKey, nullptr, number);
}

BOOL ReconcileToolbarCount(const CSettingsRoot &layoutRoot, CSettingsKey &toolbarsKey,
                           const CString &driveBarName) {
  // A run that ended between the marker and the count left the count it
  // chose the drive bar's number from, so that number comes out again; a
  // count that names another number is left to the file manager.
  DWORD number = 0;
  if (!PickToolbarNumber(toolbarsKey, driveBarName, number) ||
      !IsNamed(MakeToolbarKeyName(number, number + kFirstToolbarId), driveBarName)) {
    return TRUE;
  }
  return layoutRoot.WriteDword(kToolbarsKeyName, kToolbarCountValue, number + 1);
}
