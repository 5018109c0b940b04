// Where a run's settings are: the registry or an INI file, the default layout
// or a named one, as the command line selects. addbar's run and fm-standin
// look them up here, and the store's run mutex asks here which file an INI path
// stands for, so that all three follow one rule.
#pragma once

#include <windows.h>

#include "app/app_info.h"
#include "cmdline/command_line_args.h"
#include "settings/settings_root.h"
#include "text/cstring.h"

// The settings of one run. The members go in the reverse of the order the
// run's clean-up releases them: layout root, global root, base key path,
// layout, INI path. The roots' keys borrow `m_iniPath`: the object stays put
// while they are open.
struct CSettingsLocation {
  CString m_iniPath;  // empty: the registry; else the INI file found
  CString m_layout;   // empty: the default layout
  CString m_baseKeyPath;
  CSettingsRoot m_globalRoot;
  CSettingsRoot m_layoutRoot;
};

// Reads /I: and /S: from `args`, builds both roots and, when an INI file is
// named, finds it and binds both roots to it. FALSE when the INI file is
// found nowhere: `m_iniPath` then holds the path tried last, and the roots
// are the registry's.
BOOL LocateSettings(const CCommandLineArgs &args, CAppInfo &appInfo, CSettingsLocation &location);

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

// Whether the profile calls look for `path` in the Windows folder rather than
// where it leads: a name with no separator and no drive. Only a ':' in second
// place names a drive ("C:name" is relative to drive C's current folder); one
// further on belongs to the name (on NTFS it names a stream of a file).
bool IsBareFileName(LPCWSTR path);

// The file the profile calls open for `iniPath`: the Windows folder's for a
// bare name (as given when the platform can't say where that folder is),
// else the path as given.
CString ProfileFilePath(LPCWSTR iniPath);
