// InstallDriveBar: finds the drive bar or makes room for a new one, gives
// every drive a bookmark and writes the toolbar's buttons.
#include "app/drive_bar.h"

#include "app/file_manager_facts.h"

namespace {

const WCHAR kMaxToolbarsReached[] = TEXT("max toolbars # reached");
const WCHAR kNoRoomForBookmarks[] = TEXT("no room for more bookmarks");
const WCHAR kCannotWriteToolbar[] = TEXT("cannot write toolbar settings");

// Room for 26 drives of four units and the final terminator, with plenty to spare.
const DWORD kDriveListUnits = 260;
const DWORD kMostDrives = kDriveListUnits / 4;

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

}  // namespace

int InstallDriveBar(const CSettingsRoot &layoutRoot, const CSettingsRoot &globalRoot,
                    CSettingsKey &toolbarsKey, CString &message) {
  message.Empty();
  CString toolbarName = FindDriveBarToolbar(toolbarsKey);
  const bool isNew = toolbarName.IsEmpty();
  DWORD toolbarCount = 0;
  if (isNew) {
    if (toolbarsKey.QueryDwordValue(toolbarCount, kToolbarCountValue) != ERROR_SUCCESS) {
      toolbarCount = 0;
    }
    if (static_cast<LONG>(toolbarCount) >= kMostToolbars) {
      message = kMaxToolbarsReached;
      return 0;
    }
    toolbarName = MakeToolbarKeyName(toolbarCount, toolbarCount + kFirstToolbarId);
  }

  WCHAR drives[kDriveListUnits];
  const DWORD driveCount = ReadDriveList(drives);

  InstallerKeys keys;
  globalRoot.OpenInto(keys.bookmarks, kBookmarksKeyName, FALSE);
  DWORD bookmarkCount = 0;
  if (!keys.bookmarks.QueryInfo(nullptr, &bookmarkCount, nullptr)) bookmarkCount = 0;
  // An existing drive bar is refreshed whatever the count.
  if (isNew && bookmarkCount + driveCount >= kMostBookmarks) {
    message = kNoRoomForBookmarks;
    return 0;
  }
  globalRoot.OpenInto(keys.bookmarkIcons, kBookmarkIconsKeyName, FALSE);

  DWORD commandIds[kMostDrives] = {};
  for (DWORD drive = 0; drive < driveCount; ++drive) {
    LPCWSTR root = drives + 4 * drive;
    const WCHAR letter = root[0];
    int position = FindDriveBookmark(keys.bookmarks, letter);
    if (position != 0) {
      commandIds[drive] = kFirstBookmarkCommand - 1 + static_cast<DWORD>(position);
      continue;
    }
    // A new bookmark takes the next number; failed writes are not reported.
    commandIds[drive] = kFirstBookmarkCommand + bookmarkCount;
    keys.bookmarks.SetStringValue(root, MakeBookmarkName(bookmarkCount, letter));
    const WCHAR iconName[2] = {letter, 0};
    keys.bookmarkIcons.SetStringValue(root, iconName);
    ++bookmarkCount;
  }

  // The file manager wants an icon slot for every bookmark.
  if (globalRoot.ReadDword(nullptr, kBookmarkIconCountValue, 0) < bookmarkCount) {
    globalRoot.WriteDword(nullptr, kBookmarkIconCountValue, bookmarkCount);
  }

  CString toolbarPath = CString(kToolbarsKeyName) + TEXT("\\") + toolbarName;
  layoutRoot.OpenInto(keys.toolbar, toolbarPath, FALSE);
  // A drive bar that can't be written must not be reported as done.
  if (keys.toolbar.m_hKey == nullptr) {
    message = kCannotWriteToolbar;
    return 0;
  }
  if (isNew) {
    layoutRoot.WriteDword(kToolbarsKeyName, kToolbarCountValue, toolbarCount + 1);
    keys.toolbar.SetStringValue(kDriveBarMarker, nullptr);
  }
  keys.toolbar.SetDwordValue(kDriveBarState, kToolbarStateValue);
  keys.toolbar.SetDwordValue(kDriveBarFlags, kToolbarFlagsValue);
  keys.toolbar.SetDwordValue(driveCount, kButtonCountValue);
  if (keys.toolbar.SetBinaryValue(commandIds, kCommandIdsValue, 4 * driveCount) != ERROR_SUCCESS) {
    message = kCannotWriteToolbar;
    return 0;
  }
  return static_cast<int>(driveCount);
}
