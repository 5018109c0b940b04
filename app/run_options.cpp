#include "app/run_options.h"

#include "app/file_manager_facts.h"
#include "app/path_probe.h"

void ReadRunOptions(const CCommandLineArgs &args, CString &iniPath, CString &layout) {
  for (int i = 1; i < args.m_nArgs; ++i) {
    if (!args.IsSwitch(i)) continue;
    const CString &argument = *args.m_ppArgs[i];
    // The third unit (':' in the usage text) is not looked at.
    CString value = argument.Mid(3, argument.GetLength() - 3);
    switch (argument.GetAt(1)) {
      case TEXT('I'):
      case TEXT('i'):
        iniPath = value;
        break;
      case TEXT('S'):
      case TEXT('s'):
        layout = value;
        break;
      default:
        break;
    }
  }
}

void BuildSettingsRoots(const CString &layout, CString &baseKeyPath, CSettingsRoot &globalRoot,
                        CSettingsRoot &layoutRoot) {
  baseKeyPath = kBaseKeyPath;
  globalRoot.Init(baseKeyPath + kGlobalSuffix, HKEY_CURRENT_USER);
  if (!layout.IsEmpty()) {
    baseKeyPath += TEXT('.');
    baseKeyPath += layout;
  }
  layoutRoot.Init(baseKeyPath, HKEY_CURRENT_USER);
}

// Whether the path names a folder or a drive at all: the profile calls read a
// bare file name from the Windows folder, not from the current one.
static bool NamesNoFolder(const CString &path) {
  return path.Find('\\') < 0 && path.Find('/') < 0 && path.Find(':') < 0;
}

BOOL ResolveIniFile(CAppInfo &appInfo, CString &iniPath) {
  if (ProbePath(iniPath) == 1) {
    // Found in the current folder: read it there too, not a namesake in the
    // Windows folder.
    if (NamesNoFolder(iniPath)) iniPath = TEXT(".\\") + iniPath;
    return TRUE;
  }
  // No separator is added: the directory ends with one. An absolute path is
  // appended all the same, as the user wrote it.
  iniPath = appInfo.GetModuleDirectory() + iniPath;
  return ProbePath(iniPath) == 1;
}

void BindRootsToIniFile(const CString &baseKeyPath, const CString &iniPath,
                        CSettingsRoot &layoutRoot, CSettingsRoot &globalRoot) {
  layoutRoot.m_path = FileNameOf(baseKeyPath);
  layoutRoot.m_iniPath = iniPath;
  globalRoot.m_path = FileNameOf(baseKeyPath + kGlobalSuffix);
  globalRoot.m_iniPath = iniPath;
}
