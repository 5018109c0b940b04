#include "app/run_options.h"

#include "app/file_manager_facts.h"

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
