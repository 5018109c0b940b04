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
#include "app/run_options.h"
#include "app/running_instance.h"
#include "cmdline/command_line_args.h"
#include "settings/settings_key.h"
#include "settings/settings_root.h"
#include "text/cstring.h"

namespace {

// Everything after the handshake. The locals are declared so that they are
// released in the order the clean-up needs: message, toolbars key, layout
// root, global root, base key path, layout, INI path, arguments, app info.
int RunInstaller() {
  CAppInfo appInfo;
  appInfo.GetVersionInfo();
  CCommandLineArgs args(TEXT('"'));
  args.Parse(nullptr);

  CString iniPath;
  CString layout;
  ReadRunOptions(args, iniPath, layout);

  CString baseKeyPath;
  CSettingsRoot globalRoot;
  CSettingsRoot layoutRoot;
  BuildSettingsRoots(layout, baseKeyPath, globalRoot, layoutRoot);

  CSettingsKey toolbarsKey;
  CString message;
  int buttonCount = 0;

  if (!iniPath.IsEmpty()) {
    if (ResolveIniFile(appInfo, iniPath)) {
      BindRootsToIniFile(baseKeyPath, iniPath, layoutRoot, globalRoot);
    } else {
      message.Format(kCannotFindIniFile, static_cast<LPCWSTR>(iniPath));
    }
  }
  if (message.IsEmpty()) {
    layoutRoot.OpenInto(toolbarsKey, kToolbarsKeyName, TRUE);
    if (toolbarsKey.m_hKey == nullptr) message = kCannotLocateToolbars;
  }
  if (message.IsEmpty()) {
    buttonCount = InstallDriveBar(layoutRoot, globalRoot, toolbarsKey, message);
  }

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
