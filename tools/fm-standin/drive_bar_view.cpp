#include "tools/fm-standin/drive_bar_view.h"

#include "app/drive_bar.h"
#include "app/file_manager_facts.h"
#include "settings/settings_key.h"
#include "tools/fm-standin/binary_value.h"

namespace {

// The value names of "Favorites" by enumeration index; the unnamed value and
// any other empty name keep their index, since commands count them too. The
// number of values tells where the listing ends.
std::vector<CString> ListBookmarks(CSettingsKey &bookmarks) {
  std::vector<CString> names;
  DWORD count = 0;
  if (!bookmarks.QueryInfo(nullptr, &count, nullptr)) return names;
  for (DWORD index = 0; index < count; ++index) {
    DWORD type = REG_NONE;
    names.push_back(bookmarks.EnumValue(index, type));
  }
  return names;
}

}  // namespace

DriveBarView ReadDriveBarView(const CSettingsRoot &layoutRoot, const CSettingsRoot &globalRoot) {
  DriveBarView view;
  CSettingsKey toolbars;
  layoutRoot.OpenInto(toolbars, kToolbarsKeyName, TRUE);
  // Toolbars that can't all be listed show the drive bar only when it is
  // among those listed.
  FindDriveBarToolbar(toolbars, view.toolbarName);
  if (view.toolbarName.IsEmpty()) return view;

  CSettingsKey toolbar;
  toolbar.Open(toolbars, view.toolbarName, KEY_READ);
  std::vector<BYTE> ids;
  ReadBinaryValue(toolbar, kCommandIdsValue, ids);

  CSettingsKey bookmarks;
  globalRoot.OpenInto(bookmarks, kBookmarksKeyName, TRUE);
  std::vector<CString> names = ListBookmarks(bookmarks);

  // Bytes beyond the last whole id are no command.
  for (size_t offset = 0; offset + 4 <= ids.size(); offset += 4) {
    DriveButton button;
    button.commandId = static_cast<DWORD>(ids[offset]) | static_cast<DWORD>(ids[offset + 1]) << 8 |
                       static_cast<DWORD>(ids[offset + 2]) << 16 |
                       static_cast<DWORD>(ids[offset + 3]) << 24;
    DWORD index = button.commandId - kFirstBookmarkCommand;
    if (button.commandId >= kFirstBookmarkCommand && index < names.size() &&
        !names[index].IsEmpty()) {
      button.root = GetStringValue(bookmarks, names[index], nullptr);
    }
    view.buttons.push_back(button);
  }
  return view;
}

CString DescribeDriveBar(const DriveBarView &view) {
  CString text = TEXT("drive bar: ");
  text += view.toolbarName.IsEmpty() ? CString(TEXT("none")) : view.toolbarName;
  text += TEXT("\n");
  for (size_t i = 0; i < view.buttons.size(); ++i) {
    CString line;
    if (view.buttons[i].root.IsEmpty()) {
      line.Format(TEXT("button %d: ? (command %u)\n"), static_cast<int>(i + 1),
                  view.buttons[i].commandId);
    } else {
      line.Format(TEXT("button %d: %s\n"), static_cast<int>(i + 1),
                  static_cast<LPCWSTR>(view.buttons[i].root));
    }
    text += line;
  }
  return text;
}
