// A store as the checks of the whole-run fuzzer see it: every key (registry)
// or section (INI) with its values, read straight from the file or through
// the profile calls, not through the settings code under test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/unicode.h"

using standin::WString;

// A line of an INI section that has no "=": no value, only a name.
const DWORD kTextLine = 0xFFFFFFFF;

struct ViewValue {
  WString name;      // as spelled; empty for the unnamed value
  DWORD type;        // registry type; REG_SZ for an INI entry, or kTextLine
  std::string data;  // registry bytes; for INI the line's text after "=", as UTF-8
  bool hasText;      // `text` is the value's text as a program reads it
  WString text;
};

struct ViewKey {
  WString path;  // below HKEY_CURRENT_USER, or the section name
  std::vector<ViewValue> values;
};

struct StoreView {
  bool registry = true;
  bool parsed = true;  // the registry store file reads
  std::vector<ViewKey> keys;

  const ViewKey *Find(const WString &path) const;
};

// The registry store file's keys below HKEY_CURRENT_USER.
StoreView ViewRegistryFile(const std::string &bytes);
// The INI file's sections, as the profile calls read them: the first section
// of each name.
StoreView ViewIniFile(const WString &path);

// Whether two names name the same key or value in the view's kind of store.
bool SameName(const StoreView &view, const WString &a, const WString &b);

// The string a value holds as a program reads it: REG_SZ, REG_EXPAND_SZ or
// REG_MULTI_SZ up to its first null unit, when its bytes end as the type
// needs; an INI entry's text. False for anything else.
bool StringOf(const ViewValue &value, WString &text);

// Whether the two views hold the same keys and values (registry: times and
// identities aside).
bool SameContents(const StoreView &a, const StoreView &b, std::string &difference);
