// Stores for the settings tests: an INI file in a fresh folder, or a private
// registry corner, each with a root pointing at it.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "settings/settings_key.h"
#include "settings/settings_root.h"
#include "support/test_support.h"

struct IniStore {
  explicit IniStore(LPCWSTR prefix = TEXT(""));
  // Replaces the file with `text` in UTF-16LE with a byte-order mark.
  void Write(const WString &text) const;
  // The entry's text as the platform reads it, or "<missing>".
  WString Entry(LPCWSTR section, LPCWSTR name) const;
  // The section's lines joined by '|', as the platform lists them.
  WString Lines(LPCWSTR section) const;

  testing_support::TempDir folder;
  WString file;
  CSettingsRoot root;
};

struct RegistryStore {
  RegistryStore();
  // Stores raw bytes as a value of `subKey` (created if missing) under the base.
  void SetRaw(LPCWSTR subKey, LPCWSTR name, DWORD type, const void *data, DWORD bytes) const;

  testing_support::ScopedRegistry registry;
  CSettingsRoot root;
};

// Every name an enumeration hands out, up to the first empty one.
std::vector<WString> KeyNames(CSettingsKey &key);
// Every (name, type) up to the end: an empty name with type 0.
std::vector<std::pair<WString, DWORD>> ValueNames(CSettingsKey &key);

inline WString Text(const CString &text) { return WString(static_cast<LPCWSTR>(text)); }
