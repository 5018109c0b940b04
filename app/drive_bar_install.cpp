// InstallDriveBar: finds the drive bar or makes room for a new one, gives
// every drive a bookmark and writes the toolbar's buttons.
//
// A run may end at any write (killed, or the disk full): the order of the
// writes lets the next run finish the job. Bookmarks and icon entries come
// first, each found again by the next run; the new toolbar gets its marker
// before "nToolbars" counts it, and the count is mended when a run ended
// between the two; the buttons come last and are written whole every run.
// The first write that fails ends the run, so that a full disk leaves what a
// killed run leaves. What the user stored stays: a new bookmark never takes
// the name of a value that is there, and an icon entry that is there is never
// replaced.
#include "app/drive_bar.h"

#include "app/file_manager_facts.h"

namespace {

const WCHAR kMaxToolbarsReached[] = TEXT("max toolbars # reached");
const WCHAR kNoRoomForBookmarks[] = TEXT("no room for more bookmarks");
// Any write that fails: the drive bar is not (wholly) written.
const WCHAR kCannotWriteToolbar[] = TEXT("cannot write toolbar settings");

// Room for 26 drives of four units and the final terminator, with plenty to spare.
const DWORD kDriveListUnits = 260;
const DWORD kMostDrives = kDriveListUnits / 4;
// A bookmark is found again by its four-unit name: from this number on the
// number takes three digits, and the bookmark could never be found again.
const DWORD kBookmarkNumberLimit = 0x100;

// The keys the installer opens, closed in the order toolbar key, bookmark
// icons, bookmarks, however the installer ends.
struct InstallerKeys {
  CSettingsKey bookmarks;
  CSettingsKey bookmarkIcons;
  CSettingsKey toolbar;

  ~InstallerKeys() {
    toolbar.Close();
    bookmarkIcons.Close();
    bookmarks.Close();
  }
};

// The number of drives in the list. A list that did not fit was not
// written at all: the call then reports the size it needs, which is never
// below the buffer's, and counts as no drives.
DWORD ReadDriveList(WCHAR (&drives)[kDriveListUnits]) {
  drives[0] = 0;
  DWORD units = GetLogicalDriveStringsW(kDriveListUnits, drives);
  return units < kDriveListUnits ? units / 4 : 0;
}

// The number of each new bookmark, for each drive without one (position 0):
// the number of values "Favorites" holds when it is written, or the first
// number on from there whose name no value has. It depends on nothing a run
// has done before, so a run that finishes an ended one names the bookmarks
// as one run would. False when a number would need three hexadecimal digits.
bool NumberNewBookmarks(CSettingsKey &bookmarks, const WCHAR *drives, DWORD driveCount,
                        const int *positions, DWORD bookmarkCount, DWORD *numbers) {
  DWORD count = bookmarkCount;
  for (DWORD drive = 0; drive < driveCount; ++drive) {
    if (positions[drive] != 0) continue;
    DWORD number = count++;
    while (number < kBookmarkNumberLimit &&
           bookmarks.HasValue(MakeBookmarkName(number, drives[4 * drive]))) {
      ++number;
    }
    if (number >= kBookmarkNumberLimit) return false;
    numbers[drive] = number;
  }
  return true;
}

// Gives each drive without a bookmark (position 0) the one numbered for it,
// and every drive an icon entry where it has none; one that is there, empty
// or not, is the user's. A drive whose bookmark a run wrote just before it
// ended gets its icon entry from the next run. False at the first write that
// fails.
bool WriteBookmarks(InstallerKeys &keys, const WCHAR *drives, DWORD driveCount,
                    const int *positions, const DWORD *numbers, DWORD &bookmarkCount) {
  for (DWORD drive = 0; drive < driveCount; ++drive) {
    LPCWSTR root = drives + 4 * drive;
    const WCHAR iconName[2] = {root[0], 0};
    if (positions[drive] == 0) {
      if (keys.bookmarks.SetStringValue(root, MakeBookmarkName(numbers[drive], root[0])) !=
          ERROR_SUCCESS) {
        return false;
      }
      ++bookmarkCount;
    }
    if (!keys.bookmarkIcons.HasValue(iconName) &&
        keys.bookmarkIcons.SetStringValue(root, iconName) != ERROR_SUCCESS) {
      return false;
    }
  }
  return true;
}

// Each button runs the bookmark at the position where the enumeration of
// "Favorites" finds it, which is how the file manager numbers them; an INI
// section lists its names sorted, so a new bookmark need not come last.
bool FindCommandIds(CSettingsKey &bookmarks, const WCHAR *drives, DWORD driveCount,
                    DWORD *commandIds) {
  int positions[kMostDrives] = {};
  // A bookmark found is the drive's, whether or not every value was listed.
  FindDriveBookmarks(bookmarks, drives, driveCount, positions);
  for (DWORD drive = 0; drive < driveCount; ++drive) {
    if (positions[drive] == 0) return false;
    commandIds[drive] = kFirstBookmarkCommand - 1 + static_cast<DWORD>(positions[drive]);
  }
  return true;
}

bool WriteButtons(CSettingsKey &toolbar, const DWORD *commandIds, DWORD driveCount) {
  return toolbar.SetDwordValue(kDriveBarState, kToolbarStateValue) == ERROR_SUCCESS &&
         toolbar.SetDwordValue(kDriveBarFlags, kToolbarFlagsValue) == ERROR_SUCCESS &&
         toolbar.SetDwordValue(driveCount, kButtonCountValue) == ERROR_SUCCESS &&
         toolbar.SetBinaryValue(commandIds, kCommandIdsValue, 4 * driveCount) == ERROR_SUCCESS;
}

}  // namespace

int InstallDriveBar(const CSettingsRoot &layoutRoot, const CSettingsRoot &globalRoot,
                    CSettingsKey &toolbarsKey, CString &message) {
  message.Empty();
  CString toolbarName;
  // Toolbars it could not all list may hold the drive bar: a new one would
  // be a second.
  if (!FindDriveBarToolbar(toolbarsKey, toolbarName)) {
    message = kCannotWriteToolbar;
    return 0;
  }
  const bool isNew = toolbarName.IsEmpty();
  DWORD toolbarNumber = 0;
  if (isNew) {
    if (!ChooseToolbarNumber(toolbarsKey, toolbarNumber)) {
      message = kMaxToolbarsReached;
      return 0;
    }
    toolbarName = MakeToolbarKeyName(toolbarNumber, toolbarNumber + kFirstToolbarId);
  }

  WCHAR drives[kDriveListUnits];
  const DWORD driveCount = ReadDriveList(drives);

  InstallerKeys keys;
  globalRoot.OpenInto(keys.bookmarks, kBookmarksKeyName, FALSE);
  DWORD bookmarkCount = 0;
  if (!keys.bookmarks.QueryInfo(nullptr, &bookmarkCount, nullptr)) bookmarkCount = 0;
  int positions[kMostDrives] = {};
  const bool listedWhole = FindDriveBookmarks(keys.bookmarks, drives, driveCount, positions);
  bool missing = false;
  for (DWORD drive = 0; drive < driveCount; ++drive) missing = missing || positions[drive] == 0;
  if (isNew && bookmarkCount + driveCount >= kMostBookmarks) {
    message = kNoRoomForBookmarks;
    return 0;
  }
  // A drive's bookmark may be among values it could not list: adding one
  // would give the drive a second.
  if (missing && !listedWhole) {
    message = kCannotWriteToolbar;
    return 0;
  }
  // An existing drive bar is refreshed whatever the count, as long as its
  // new bookmarks can be found again.
  DWORD numbers[kMostDrives] = {};
  if (!NumberNewBookmarks(keys.bookmarks, drives, driveCount, positions, bookmarkCount, numbers)) {
    message = kNoRoomForBookmarks;
    return 0;
  }
  globalRoot.OpenInto(keys.bookmarkIcons, kBookmarkIconsKeyName, FALSE);
  DWORD commandIds[kMostDrives] = {};
  // The file manager wants an icon slot for every bookmark.
  if (!WriteBookmarks(keys, drives, driveCount, positions, numbers, bookmarkCount) ||
      (globalRoot.ReadDword(nullptr, kBookmarkIconCountValue, 0) < bookmarkCount &&
       !globalRoot.WriteDword(nullptr, kBookmarkIconCountValue, bookmarkCount)) ||
      !FindCommandIds(keys.bookmarks, drives, driveCount, commandIds)) {
    message = kCannotWriteToolbar;
    return 0;
  }

  CString toolbarPath = CString(kToolbarsKeyName) + TEXT("\\") + toolbarName;
  layoutRoot.OpenInto(keys.toolbar, toolbarPath, FALSE);
  // A drive bar that can't be written must not be reported as done.
  bool written = keys.toolbar.m_hKey != nullptr;
  if (written && isNew) {
    written = keys.toolbar.SetStringValue(kDriveBarMarker, nullptr) == ERROR_SUCCESS &&
              layoutRoot.WriteDword(kToolbarsKeyName, kToolbarCountValue, toolbarNumber + 1);
  } else if (written) {
    written = ReconcileToolbarCount(layoutRoot, toolbarsKey, toolbarName);
  }
  if (!written || !WriteButtons(keys.toolbar, commandIds, driveCount)) {
    message = kCannotWriteToolbar;
    return 0;
  }
  return static_cast<int>(driveCount);
}
