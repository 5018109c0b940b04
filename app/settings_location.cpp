#include "app/settings_location.h"

#include "app/file_manager_facts.h"
#include "app/path_probe.h"
#include "app/run_options.h"

BOOL LocateSettings(const CCommandLineArgs &args, CAppInfo &appInfo, CSettingsLocation &location) {
  ReadRunOptions(args, location.m_iniPath, location.m_layout);
  BuildSettingsRoots(location.m_layout, location.m_baseKeyPath, location.m_globalRoot,
                     location.m_layoutRoot);
  if (location.m_iniPath.IsEmpty()) return TRUE;
  if (!ResolveIniFile(appInfo, location.m_iniPath)) return FALSE;
  BindRootsToIniFile(location.m_baseKeyPath, location.m_iniPath, location.m_layoutRoot,
                     location.m_globalRoot);
  return TRUE;
}

BOOL ResolveIniFile(CAppInfo &appInfo, CString &iniPath) {
  if (ProbePath(iniPath) == 1) {
    // Found in the current folder: read it there too, not a namesake in the
    // Windows folder.
    if (IsBareFileName(iniPath)) iniPath = TEXT(".\\") + iniPath;
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

bool IsBareFileName(LPCWSTR path) {
  for (LPCWSTR unit = path; *unit != 0; unit = CharNextW(unit)) {
    if (*unit == TEXT('\\') || *unit == TEXT('/')) return false;
  }
  return !(path[0] != 0 && path[1] == TEXT(':'));
}

CString ProfileFilePath(LPCWSTR iniPath) {
  CString path = iniPath;
  if (!IsBareFileName(iniPath)) return path;
  WCHAR folder[MAX_PATH + 1];
  UINT length = GetWindowsDirectoryW(folder, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return path;
  path = folder;
  if (folder[length - 1] != TEXT('\\')) path += TEXT("\\");
  return path + iniPath;
}
