// The stand-in file manager: reads the drive bar from the same settings
// store as addbar, with the same options, shows it and waits in its window
// for the close command.
#include <windows.h>

#include "app/app_info.h"
#include "app/run_sequence.h"
#include "app/settings_location.h"
#include "cmdline/command_line_args.h"
#include "tools/fm-standin/close_delay.h"
#include "tools/fm-standin/drive_bar_view.h"
#include "tools/fm-standin/file_manager_window.h"

extern "C" int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  CAppInfo appInfo;
  CCommandLineArgs args(TEXT('"'));
  args.Parse(nullptr);

  CloseDelay delay;
  if (!ReadCloseDelay(args, delay)) {
    WriteError(TEXT("fm-standin: /D: takes seconds (such as 1.2) or never\n"));
    return kExitBadOption;
  }
  CSettingsLocation settings;
  if (!LocateSettings(args, appInfo, settings)) {
    WriteError(CString(TEXT("fm-standin: cannot find INI file: ")) + settings.m_iniPath +
               TEXT("\n"));
    return kExitNoIniFile;
  }

  DriveBarView view = ReadDriveBarView(settings.m_layoutRoot, settings.m_globalRoot);
  WriteOutput(DescribeDriveBar(view));
  return RunFileManagerWindow(view, delay);
}
