// The reading profile calls of the stand-in.
#include <windows.h>

#include <memory>

#include "common/store_report.h"
#include "profile/profile_document.h"
#include "profile/profile_numbers.h"
#include "profile/profile_path.h"
#include "profile/profile_results.h"
#include "profile/profile_store.h"

using standin::ViewOf;
using standin::WString;
using namespace standin::profile;

namespace {

// The parsed file a call names, or null with the reason in `status`.
std::shared_ptr<const ProfileDocument> OpenForReading(LPCWSTR fileName, DWORD &status) {
  std::string hostPath;
  if (!ResolveProfilePath(fileName, hostPath)) {
    status = ERROR_FILE_NOT_FOUND;
    return nullptr;
  }
  LoadedProfile loaded = LoadProfile(hostPath);
  status = loaded.status;
  // A missing file reads as empty, as it should; one that is there and can't
  // be read reads as empty too, so the user is told why.
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND && status != ERROR_PATH_NOT_FOUND) {
    standin::ReportStoreProblem("the INI file " + hostPath + " can't be read: " +
                                standin::ReasonOfStatus(hostPath, status, false) +
                                ". Its settings read as missing until that is mended.");
  }
  return loaded.document;
}

// The value of `key` in `section`, or null when the file, section or key is
// missing.
const ProfileLine *FindValue(const ProfileDocument &document, LPCWSTR section, LPCWSTR key) {
  const ProfileSection *found = document.FindSection(ViewOf(section));
  return found == nullptr ? nullptr : document.FindEntry(*found, ViewOf(key));
}

DWORD CopySectionNames(const ProfileDocument &document, LPWSTR buffer, DWORD size) {
  return CopyListOf(
      document.SectionCount(), [&](size_t i) { return document.SectionName(i); }, buffer, size);
}

// A default loses its trailing spaces, as on Windows.
WString DefaultText(LPCWSTR text) {
  WString value(ViewOf(text));
  while (!value.empty() && value.back() == ' ') value.pop_back();
  return value;
}

}  // namespace

DWORD WINAPI GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault,
                                      LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName) {
  if (lpReturnedString == nullptr || nSize == 0) return 0;
  DWORD status;
  auto document = OpenForReading(lpFileName, status);
  if (document != nullptr) {
    if (lpAppName == nullptr) return CopySectionNames(*document, lpReturnedString, nSize);
    if (const ProfileSection *section = document->FindSection(ViewOf(lpAppName))) {
      if (lpKeyName == nullptr)
        return CopyList(document->KeyNames(*section), lpReturnedString, nSize);
      if (const ProfileLine *entry = document->FindEntry(*section, ViewOf(lpKeyName))) {
        return CopyValue(document->ValueOf(*entry), lpReturnedString, nSize);
      }
    }
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return CopyValue(DefaultText(lpDefault), lpReturnedString, nSize);
}

DWORD WINAPI GetPrivateProfileSectionNamesW(LPWSTR lpszReturnBuffer, DWORD nSize,
                                            LPCWSTR lpFileName) {
  if (lpszReturnBuffer == nullptr || nSize == 0) return 0;
  DWORD status;
  auto document = OpenForReading(lpFileName, status);
  if (document == nullptr) {
    lpszReturnBuffer[0] = 0;
    return 0;
  }
  return CopySectionNames(*document, lpszReturnBuffer, nSize);
}

DWORD WINAPI GetPrivateProfileSectionW(LPCWSTR lpAppName, LPWSTR lpReturnedString, DWORD nSize,
                                       LPCWSTR lpFileName) {
  if (lpAppName == nullptr || lpReturnedString == nullptr || nSize == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DWORD status;
  auto document = OpenForReading(lpFileName, status);
  lpReturnedString[0] = 0;
  if (document == nullptr) {
    SetLastError(status);
    return 0;
  }
  SetLastError(ERROR_SUCCESS);
  const ProfileSection *section = document->FindSection(ViewOf(lpAppName));
  if (section == nullptr) return 0;
  return CopyList(document->SectionLines(*section), lpReturnedString, nSize);
}

UINT WINAPI GetPrivateProfileIntW(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault,
                                  LPCWSTR lpFileName) {
  const UINT fallback = static_cast<UINT>(nDefault);
  if (lpAppName == nullptr || lpKeyName == nullptr) return fallback;
  DWORD status;
  auto document = OpenForReading(lpFileName, status);
  if (document == nullptr) return fallback;
  const ProfileLine *entry = FindValue(*document, lpAppName, lpKeyName);
  if (entry == nullptr) return fallback;
  WString value = document->ValueOf(*entry);
  // An empty value reads like a missing one.
  return value.empty() ? fallback : ParseProfileInt(value);
}

BOOL WINAPI GetPrivateProfileStructW(LPCWSTR lpszSection, LPCWSTR lpszKey, LPVOID lpStruct,
                                     UINT uSizeStruct, LPCWSTR szFile) {
  if (lpszSection == nullptr || lpszKey == nullptr || lpStruct == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD status;
  auto document = OpenForReading(szFile, status);
  const ProfileLine *entry =
      document == nullptr ? nullptr : FindValue(*document, lpszSection, lpszKey);
  if (entry == nullptr) {
    SetLastError(ERROR_BAD_LENGTH);
    return FALSE;
  }
  status = DecodeStruct(document->ValueOf(*entry), static_cast<BYTE *>(lpStruct), uSizeStruct);
  if (status != ERROR_SUCCESS) {
    SetLastError(status);
    return FALSE;
  }
  return TRUE;
}
