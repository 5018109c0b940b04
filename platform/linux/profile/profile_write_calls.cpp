// The writing profile calls of the stand-in: each edits the file in place and
// has it on disk before it returns.
#include <windows.h>

#include "common/store_report.h"
#include "profile/profile_document.h"
#include "profile/profile_numbers.h"
#include "profile/profile_path.h"
#include "profile/profile_store.h"

using standin::ViewOf;
using standin::WString;
using namespace standin::profile;

namespace {

// Applies `edit` to the file's document and writes the result. A missing
// file is created, even by an edit that removes something; a file that
// can't be read or written is left alone.
template <typename Edit>
BOOL EditFile(LPCWSTR fileName, size_t mostAddedUnits, Edit edit) {
  std::string hostPath;
  if (!ResolveProfilePath(fileName, hostPath)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  DWORD status = CheckWritable(hostPath);
  if (status == ERROR_SUCCESS) status = EditProfile(hostPath, mostAddedUnits, edit);
  if (status != ERROR_SUCCESS) {
    standin::ReportStoreProblem("the INI file " + hostPath + " can't be written: " +
                                standin::ReasonOfStatus(hostPath, status, true) +
                                ". It is left as it was.");
    SetLastError(status);
    return FALSE;
  }
  return TRUE;
}

// The edit of a key line: deleting the section (no key), the key (no
// value), or setting the key.
BOOL WriteEntry(LPCWSTR section, LPCWSTR key, const WString *value, LPCWSTR fileName) {
  if (section == nullptr) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  // What a new line can add: its names and value, up to three 8-bit units
  // for each of theirs, and brackets, '=' and line breaks.
  const size_t mostAdded =
      3 * (ViewOf(section).size() + ViewOf(key).size() + (value == nullptr ? 0 : value->size())) +
      16;
  return EditFile(fileName, mostAdded, [&](ProfileDocument &document) {
    if (key == nullptr) return document.DeleteSection(ViewOf(section));
    if (value == nullptr) return document.DeleteKey(ViewOf(section), ViewOf(key));
    return document.SetValue(ViewOf(section), ViewOf(key), *value);
  });
}

}  // namespace

BOOL WINAPI WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString,
                                       LPCWSTR lpFileName) {
  // All null asks Windows to flush its cached files; nothing here waits
  // unwritten. Windows documents a flush as returning zero, whether it wrote
  // or not.
  if (lpAppName == nullptr && lpKeyName == nullptr && lpString == nullptr) return FALSE;
  if (lpString == nullptr) return WriteEntry(lpAppName, lpKeyName, nullptr, lpFileName);
  const WString value(ViewOf(lpString));
  return WriteEntry(lpAppName, lpKeyName, &value, lpFileName);
}

BOOL WINAPI WritePrivateProfileStructW(LPCWSTR lpszSection, LPCWSTR lpszKey, LPVOID lpStruct,
                                       UINT uSizeStruct, LPCWSTR szFile) {
  if (lpStruct == nullptr) return WriteEntry(lpszSection, lpszKey, nullptr, szFile);
  const WString value = EncodeStruct(static_cast<const BYTE *>(lpStruct), uSizeStruct);
  return WriteEntry(lpszSection, lpszKey, &value, szFile);
}
