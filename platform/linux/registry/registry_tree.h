// The registry held in memory: keys with their sub-keys and values, as the
// store file describes them and as the registry calls change them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/unicode.h"

namespace standin {

struct RegistryValue {
  WString name;  // spelled as when first set
  DWORD type;
  std::string data;  // the bytes exactly as set
};

class RegistryKey {
 public:
  explicit RegistryKey(WString name);

  const WString &Name() const { return m_name; }
  // Last-write time in file-time ticks; 0 until known.
  uint64_t lastWrite = 0;
  // Tells a key from one deleted and created again under the same name;
  // 0 = not yet given one (a key read from a file without it).
  uint64_t serial = 0;

  // The key's own lines in the store file as the writer made them last (key
  // line, time and identity, values, blank line; UTF-16 units), with the time
  // and identity they were made from. A write makes them again only for a
  // key whose values, time or identity changed since, and hands the file the
  // units of every key as they lie, so writing a large store back costs
  // little more than the write itself.
  struct WrittenLines {
    WString units;
    uint64_t lastWrite = 0;
    uint64_t serial = 0;
    bool valuesChanged = true;
  };
  WrittenLines written;

  // ---- Sub-keys, kept in the registry's sorted order --------------------------
  size_t ChildCount() const { return m_children.size(); }
  RegistryKey &ChildAt(size_t index) const { return *m_children[index]; }
  RegistryKey *FindChild(WStringView name) const;
  // Returns the existing child when there is one.
  RegistryKey &AddChild(WStringView name);
  // The same, telling whether the child is new.
  RegistryKey &AddChild(WStringView name, bool &added);
  // The child and everything under it; false when there is none.
  bool RemoveChild(WStringView name);
  void RemoveAllChildren();

  // ---- Values, in the order they were first set ---------------------------------
  size_t ValueCount() const { return m_values.size(); }
  const RegistryValue &ValueAt(size_t index) const { return m_values[index]; }
  const RegistryValue *FindValue(WStringView name) const;
  // Sets or replaces; a value set again keeps its place and its spelling.
  // Returns false when the value already held exactly this type and data.
  bool SetValue(WStringView name, DWORD type, std::string data);
  bool RemoveValue(WStringView name);
  void RemoveAllValues();

  // Longest sub-key name and value name in units, longest data in bytes.
  DWORD LongestChildName() const;
  DWORD LongestValueName() const;
  DWORD LongestValueData() const;

 private:
  size_t ChildPosition(WStringView name) const;
  // The value's place, or ValueCount() when there is none.
  size_t ValuePosition(WStringView name) const;

  // Next to the written lines above: the writer reads both for every key.
  std::vector<std::unique_ptr<RegistryKey>> m_children;
  WString m_name;
  WString m_upperName;
  std::vector<RegistryValue> m_values;
  // Upper-cased name -> place; made only for keys with many values, on the
  // first look-up after a removal, since most keys have a handful and a
  // look along them costs less than making the map.
  mutable std::unordered_map<WString, size_t> m_valueIndex;
  mutable bool m_valuesIndexed = false;
};

// The whole store: one key per hive under a nameless root. Only the current
// user's hive is reachable through the calls; the others are kept so that
// nothing a store file holds is lost when it is written again.
class RegistryTree {
 public:
  RegistryTree();
  ~RegistryTree();
  RegistryTree(const RegistryTree &) = delete;
  RegistryTree &operator=(const RegistryTree &) = delete;

  RegistryKey &Root() { return m_root; }
  const RegistryKey &Root() const { return m_root; }
  RegistryKey &CurrentUser();

  // How many pieces the file was last written in (store_writer.cpp), so
  // that the next write's list is made at its size at once.
  size_t writtenPieces = 0;

 private:
  RegistryKey m_root;
};

extern const char16_t kCurrentUserHive[];

// How deep keys nest below their hive at most, as on Windows: a store that
// goes deeper does not parse, and no call creates a deeper key, so nothing
// that walks the tree key by key can be driven deeper than this.
const size_t kMaxKeyDepth = 512;

// The spelling of a hive a store file may name, or null when it names none.
const char16_t *CanonicalHiveName(WStringView name);
// Hives in the order they are written.
const char16_t *const *HiveWritingOrder();

// A fresh identity for a new key.
uint64_t NewKeySerial();

// Changes whenever a key may have left memory (a key removed, a tree made or
// destroyed): while it stays the same, a key found earlier is still where it
// was found, so a handle's key need not be looked up again.
uint64_t KeyGeneration();

}  // namespace standin
