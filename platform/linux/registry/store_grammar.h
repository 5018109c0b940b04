// The store file: a registry export as a user could import it on Windows.
//
//   FF FE (UTF-16LE byte-order mark), CRLF line ends
//   Windows Registry Editor Version 5.00
//   <blank line>
//   [HKEY_CURRENT_USER\Software\Example]
//   ;addbar-key written=01dc6a2b3c4d5e6f id=5f3a9c21d7e04b11
//   @="unnamed value"
//   "Name"=dword:0000002a
//   "Blob"=hex:01,02,03
//   "Path"=hex(2):25,00,41,00,25,00,00,00
//   <blank line>
//
// Keys come parent first, children in the registry's sorted order, values in
// the order they were first set. The comment after a key line carries what a
// registry keeps per key and an import ignores: its last-write time (file-time
// ticks) and an identity that tells a key from one deleted and created again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/atomic_file.h"

#include "registry/registry_tree.h"

namespace standin {

extern const char16_t kStoreHeader[];
extern const char16_t kKeyInfoPrefix[];

struct StoreParseError {
  size_t line = 0;     // 1-based line of the file
  std::string reason;  // what is wrong there, in plain words
};

// Reads a whole store file. An empty file is an empty registry. Keys that
// carry no last-write time get `defaultTime`. Returns false, with the tree
// left unspecified, when the file does not follow the grammar.
bool ParseStore(const std::string &bytes, uint64_t defaultTime, RegistryTree &tree,
                StoreParseError &error);

// The file's bytes for the tree, as pieces to write one after another: they
// point into the tree's keys (or into `scratch`) and last while both stay
// unchanged. Keys without an identity get one here, so that the tree in
// memory and the file agree.
std::vector<ByteSpan> StoreFileBytes(RegistryTree &tree, std::string &scratch);
// The same bytes joined.
std::string WriteStore(RegistryTree &tree);

}  // namespace standin
