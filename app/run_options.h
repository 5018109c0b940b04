// Reading /S:layout and /I:ini_file from the command line, and building the
// two registry roots they select (settings_location.h finds an INI file and
// binds the roots to it).
#pragma once

#include <windows.h>

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
