// The texts of the final message box.
#pragma once

#include <windows.h>

#include "app/app_info.h"
#include "cmdline/command_line_args.h"
#include "text/cstring.h"

extern const WCHAR kCannotFindIniFile[];  // format: the path tried last
extern const WCHAR kCannotLocateToolbars[];
extern const WCHAR kSettingsInUse[];       // another run held the store too long
extern const WCHAR kCannotLockSettings[];  // the store's mutex could not be had

// "added 'drivebar' with <count> buttons", then the restart request.
CString MakeSuccessText(int buttonCount);

// The usage text and closing sentence that follow every error text. The
// program is named by the file name of argument 0 as written; a command line
// without even argument 0 names it by its module path.
CString MakeUsageText(const CCommandLineArgs &args, CAppInfo &appInfo);

// Shows the final box for `message` (empty = success) and returns the length
// of the text shown, which is the program's exit code.
int ShowFinalMessage(CString &message, int buttonCount, const CCommandLineArgs &args,
                     CAppInfo &appInfo);
