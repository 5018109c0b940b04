// The whole run after the process entry: start-up, the shutdown handshake,
// the options, the settings roots, the toolbar settings, the drive bar and
// the final message box.
#include "app/run_sequence.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/app_info.h"
#include "app/drive_bar.h"
#include "app/file_manager_facts.h"
#include "app/module_state.h"
#include "app/run_messages.h"
#include "app/running_instance.h"
#include "app/settings_location.h"
#include "app/store_run_mutex.h"
#include "cmdline/command_line_args.h"
#include "settings/settings_key.h"
#include "text/cstring.h"

namespace {

// How long a run waits for another run on the same store: runs take well
// under a second, so only a run that hangs keeps the next one out this long.
const DWORD kStoreMutexWaitMs = 30000;

// Takes the store for this run alone; on failure sets the message and
// nothing has been read or written.
void LockSettingsStore(CStoreRunMutex &mutex, const CString &iniPath, CString &message) {
  switch (mutex.Acquire(MakeStoreRunMutexName(iniPath), kStoreMutexWaitMs)) {
    case StoreRunMutexResult::Held:
      return;
    case StoreRunMutexResult::Busy:
      message = kSettingsInUse;
      return;
    case StoreRunMutexResult::Failed:
      message = kCannotLockSettings;
      return;
  }
}

// Everything after the handshake. The locals are declared so that they are
// released in the order the clean-up needs: message, toolbars key, the
// settings' roots, base key path, layout and INI path, arguments, app info;
// the store's run mutex, released before the final box, goes with them.
int RunInstaller() {
  CAppInfo appInfo;
  appInfo.GetVersionInfo();
  CCommandLineArgs args(TEXT('"'));
  args.Parse(nullptr);

  CSettingsLocation settings;
  BOOL located = LocateSettings(args, appInfo, settings);

  CStoreRunMutex storeMutex;
  CSettingsKey toolbarsKey;
  CString message;
  int buttonCount = 0;

  if (!located) message.Format(kCannotFindIniFile, static_cast<LPCWSTR>(settings.m_iniPath));
  if (message.IsEmpty()) LockSettingsStore(storeMutex, settings.m_iniPath, message);
  if (message.IsEmpty()) {
    settings.m_layoutRoot.OpenInto(toolbarsKey, kToolbarsKeyName, TRUE);
    if (toolbarsKey.m_hKey == nullptr) message = kCannotLocateToolbars;
  }
  if (message.IsEmpty()) {
    buttonCount =
        InstallDriveBar(settings.m_layoutRoot, settings.m_globalRoot, toolbarsKey, message);
  }

  // Everything is written: the next run need not wait for the user to read the box.
  storeMutex.Release();
  int exitCode = ShowFinalMessage(message, buttonCount, args, appInfo);
  TerminateModuleState();
  CoUninitialize();
  return exitCode;
}

}  // namespace

extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
  // The results of the start-up steps are not looked at: a run without COM or
  // the common controls still does its job.
  CoInitialize(nullptr);
  DefWindowProcW(nullptr, 0, 0, 0);
  INITCOMMONCONTROLSEX controls;
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
  InitCommonControlsEx(&controls);
  InitModuleState(hInstance);

  // Cancelled: nothing more runs, and COM and the module state are left to
  // the end of the process.
  if (CloseRunningInstance() == ShutdownOutcome::Cancelled) return 100;
  return RunInstaller();
}
