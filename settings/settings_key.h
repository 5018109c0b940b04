// CSettingsKey: an open key of the settings store, backed by a registry key or
// by a section of an INI file.
#pragma once

#include <windows.h>

#include "settings/key_binding.h"
#include "settings/profile_listing.h"
#include "text/cstring.h"

// m_hKey of an open INI key: every bit set.
HKEY ProfileKeyMarker();

class CSettingsKey {
 public:
  CSettingsKey();
  // Attaches the binding, then settles g_oldPlatform.
  explicit CSettingsKey(const CKeyBinding &binding);
  ~CSettingsKey();
  CSettingsKey(const CSettingsKey &) = delete;
  CSettingsKey &operator=(const CSettingsKey &) = delete;

  // Takes the binding over; callers Close first.
  void Attach(const CKeyBinding &binding);
  // Opens sub-key `name` of `parent`; for INI keys only KEY_SET_VALUE of
  // `access` counts (set = writable).
  LONG Open(const CSettingsKey &parent, LPCWSTR name, REGSAM access);
  LONG Close();

  // Values. Value first, name second; null or empty name = the unnamed value.
  LONG QueryDwordValue(DWORD &value, LPCWSTR name);
  LONG SetDwordValue(DWORD value, LPCWSTR name);
  LONG QueryStringValue(LPWSTR buffer, LPCWSTR name, DWORD *byteCount);
  LONG SetStringValue(LPCWSTR text, LPCWSTR name);
  LONG SetBinaryValue(const void *data, LPCWSTR name, DWORD byteCount);
  // Whether a value of that name is there, of any type and empty or not (an
  // INI entry with that name, empty or not); a value that can't be looked at
  // counts as there. Closed key: false.
  BOOL HasValue(LPCWSTR name);
  // The INI entry name of a value name: every '=' becomes '_'.
  static CString ToProfileName(LPCWSTR name);

  // Enumeration. Empty name (and type 0 for values) at the end or on failure.
  CString EnumKey(DWORD index);
  CString EnumValue(DWORD index, DWORD &type);
  BOOL QueryInfo(DWORD *subKeyCount, DWORD *valueCount, FILETIME *lastWrite);
  // Whether the last listing of an INI key (QueryInfo counting one kind of
  // name, or an enumeration from its start) held every name; the names past
  // the 1024th, or past the most text a listing takes, can't be reached.
  // Always true for a registry key.
  BOOL ListedWhole() const;

  // Inner steps of the INI backend.
  void OpenProfile(BOOL readOnly);
  void EnsureParentSection();
  int ListSections();
  int ListEntries();
  static void SortNames(int count, LPWSTR *slots);

  HKEY m_hKey;  // 0 = closed, ProfileKeyMarker() = open INI key, else a registry handle
  BOOL m_readOnly;
  LPCWSTR m_iniPath;  // borrowed from the root; null = registry
  CString m_path;
  CProfileListing m_listing;

 private:
  // The listing block with room for `textUnits` units of text, allocated on
  // first use and grown when asked for more; false when memory runs out.
  bool EnsureListingBlock(DWORD textUnits);
  // Has the platform fill the listing text with section names (or with the
  // lines of this key's section), growing the buffer until they fit. Returns
  // what the call reported (0 also when memory ran out); `asked` is the size
  // of the last request, and `whole` whether the names all fitted.
  DWORD FillListingText(bool sectionNames, DWORD &asked, bool &whole);
};

// The string value `name` of `key`, or defaultText (empty when null).
CString GetStringValue(CSettingsKey &key, LPCWSTR name, LPCWSTR defaultText);
