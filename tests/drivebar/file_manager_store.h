// The file manager's settings as a test seeds and inspects them: straight
// through the platform's registry or profile-file calls, not through the
// settings library the program uses. Key paths are relative to one of the two
// roots of a run: the layout root (toolbars) or the global root (bookmarks).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/settings_root.h"
#include "support/test_support.h"

enum class StoreRoot { Layout, Global };
enum class StoreKind { Registry, Ini };

class FileManagerStore {
 public:
  virtual ~FileManagerStore() = default;

  // A null name is the key's unnamed value. Writes create the key.
  virtual void CreateKey(StoreRoot root, const std::string &key) = 0;
  virtual void SetDword(StoreRoot root, const std::string &key, const char *name, DWORD value) = 0;
  virtual void SetString(StoreRoot root, const std::string &key, const char *name,
                         const std::string &text) = 0;
  virtual void SetBinary(StoreRoot root, const std::string &key, const char *name,
                         const std::string &bytes) = 0;
  virtual void DeleteValue(StoreRoot root, const std::string &key, const char *name) = 0;
  // A value without a name that is no string: in the registry the unnamed
  // value of type 0 without data; in an INI file a line "=text".
  virtual void AddNamelessValue(StoreRoot root, const std::string &key,
                                const std::string &text) = 0;

  virtual bool GetDword(StoreRoot root, const std::string &key, const char *name, DWORD &value) = 0;
  virtual bool GetString(StoreRoot root, const std::string &key, const char *name,
                         std::string &text) = 0;
  virtual bool GetBinary(StoreRoot root, const std::string &key, const char *name,
                         std::string &bytes) = 0;
  // Value names in the platform's order; the unnamed value as "".
  virtual std::vector<std::string> ValueNames(StoreRoot root, const std::string &key) = 0;
  // Value names in the order the settings store enumerates them: the
  // registry's own order; an INI section's names sorted by lstrcmpiW.
  virtual std::vector<std::string> EnumerationOrder(StoreRoot root, const std::string &key) = 0;
  // Names of the direct sub-keys, sorted.
  virtual std::vector<std::string> SubKeys(StoreRoot root, const std::string &key) = 0;

  // The options that make a program use this store ("/I:…", "/S:…").
  virtual std::vector<WString> ProgramOptions() const = 0;
  // Roots bound to this store, as the program would build them.
  virtual void BindRoots(CSettingsRoot &layoutRoot, CSettingsRoot &globalRoot) const = 0;
  // Whatever makes the store refuse writes from now on (false: can't here).
  virtual bool MakeUnwritable() = 0;
  // Everything the two roots hold, as text to compare before and after a run.
  virtual std::string Snapshot() = 0;

  // Convenience for the many DWORD and string checks.
  DWORD Dword(StoreRoot root, const std::string &key, const char *name);
  std::string String(StoreRoot root, const std::string &key, const char *name);
};

// Registry under HKEY_CURRENT_USER: the layout root is <base>\vantrove_UC, with
// "." and the layout when given; the global root is <base>\vantrove_UC.global.
// The program itself always uses the base Software\Harrowmede Plc.
std::unique_ptr<FileManagerStore> MakeRegistryStore(const std::string &base,
                                                    const std::string &layout);

// An INI file (made as UTF-16 with a byte-order mark when missing): sections
// vantrove_UC[.layout]\… and vantrove_UC[.layout].global\….
std::unique_ptr<FileManagerStore> MakeIniStore(const WString &file, const std::string &layout);

// Text that tells the two kinds apart in test names.
const char *StoreKindName(StoreKind kind);
