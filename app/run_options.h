// Reading /S:layout and /I:ini_file from the command line, and building the
// two settings roots they select.
#pragma once

#include <windows.h>

#include "app/app_info.h"
#include "cmdline/command_line_args.h"
#include "settings/settings_root.h"
#include "text/cstring.h"

// Arguments 1 and up: a switch whose second unit is I/i sets `iniPath`, S/s
// sets `layout`, each to the text from the fourth unit on; the last one wins.
// Everything else is ignored.
void ReadRunOptions(const CCommandLineArgs &args, CString &iniPath, CString &layout);

// The global root is the base path with ".global" (the layout never enters
// it); the layout root is the base path, with "." and the layout when given.
// `baseKeyPath` ends as the layout root's path.
void BuildSettingsRoots(const CString &layout, CString &baseKeyPath, CSettingsRoot &globalRoot,
                        CSettingsRoot &layoutRoot);

// Finds the INI file: as written, else in the program's folder (module
// directory followed by the text as given). On success `iniPath` becomes the
// path found (a bare file name found in the current folder gets ".\" ahead,
// so that it is read there) and the result is TRUE; otherwise `iniPath` holds
// the path tried last and the result is FALSE.
BOOL ResolveIniFile(CAppInfo &appInfo, CString &iniPath);

// Switches both roots to the INI file: their paths become the section
// prefixes, the last component of the base key path (and of it with
// ".global").
void BindRootsToIniFile(const CString &baseKeyPath, const CString &iniPath,
                        CSettingsRoot &layoutRoot, CSettingsRoot &globalRoot);
