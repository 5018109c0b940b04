// The drive bar: one toolbar button per drive, each running a bookmark that
// opens the drive's root.
#pragma once

#include <windows.h>

#include "settings/settings_key.h"
#include "settings/settings_root.h"
#include "text/cstring.h"

// Finds or adds the drive bar and gives every drive a bookmark. Returns the
// number of buttons written; sets `message` to an error text on failure and
// leaves it empty on success.
int InstallDriveBar(const CSettingsRoot &layoutRoot, const CSettingsRoot &globalRoot,
                    CSettingsKey &toolbarsKey, CString &message);

// Sets `name` to the first sub-key of `toolbarsKey` marked as the drive bar,
// or empties it. False when none of the sub-keys listed is marked but not
// all of them could be listed: there may be a drive bar among the others.
bool FindDriveBarToolbar(CSettingsKey &toolbarsKey, CString &name);
// For each of the `driveCount` drives of `drives` (4 units a drive: letter,
// colon, backslash, terminator), 1 + the enumeration index of its bookmark,
// or 0: a value whose name has four units, the last the drive's letter, and
// whose text is the drive's root (letter case aside). False when not every
// value could be listed.
bool FindDriveBookmarks(CSettingsKey &favorites, const WCHAR *drives, DWORD driveCount,
                        int *positions);
// 1 + the enumeration index of the bookmark for `driveLetter`, or 0.
int FindDriveBookmark(CSettingsKey &favorites, WCHAR driveLetter);
// The toolbar number of a new drive bar: "nToolbars" (0 when it can't be
// read), or the number of toolbar keys in use when the count has its top bit
// set; then the first number on from there whose key is missing or empty.
// False when that is 16 or more.
bool ChooseToolbarNumber(CSettingsKey &toolbarsKey, DWORD &number);
// With the drive bar found: counts it in "nToolbars" in the state a run
// leaves that ended between marking a new drive bar and counting it (the
// number that run would have chosen, with the drive bar's key free, is the
// drive bar's own); any other count stays as it is. False when the count had
// to be written and wasn't.
BOOL ReconcileToolbarCount(const CSettingsRoot &layoutRoot, CSettingsKey &toolbarsKey,
                           const CString &driveBarName);
// "%X_%05d" of the two numbers.
CString MakeToolbarKeyName(DWORD toolbarNumber, DWORD toolbarId);
// "%02X_%c" of the two.
CString MakeBookmarkName(DWORD bookmarkNumber, WCHAR driveLetter);
