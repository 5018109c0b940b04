// The registry store's reader and writer: whatever the reader accepts, the
// writer writes so that reading it again gives the same tree, and writing
// that gives the same bytes. Whatever it refuses, it says where and why.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "registry/store_grammar.h"

using standin::RegistryKey;
using standin::RegistryTree;

namespace {

void Fail(const char *what) {
  std::fprintf(stderr, "store round trip: %s\n", what);
  std::abort();
}

// Walks both trees side by side without recursion: a tree as deep as the
// reader allows must not overflow the fuzzer's own stack either.
void ExpectSameTrees(const RegistryKey &first, const RegistryKey &second) {
  std::vector<std::pair<const RegistryKey *, const RegistryKey *>> pending{{&first, &second}};
  while (!pending.empty()) {
    auto [a, b] = pending.back();
    pending.pop_back();
    if (a->Name() != b->Name()) Fail("a key name changed");
    if (a->lastWrite != b->lastWrite) Fail("a last-write time changed");
    if (a->serial != b->serial) Fail("a key identity changed");
    if (a->ValueCount() != b->ValueCount()) Fail("the number of values changed");
    for (size_t i = 0; i < a->ValueCount(); ++i) {
      const standin::RegistryValue &x = a->ValueAt(i), &y = b->ValueAt(i);
      if (x.name != y.name || x.type != y.type || x.data != y.data) Fail("a value changed");
    }
    if (a->ChildCount() != b->ChildCount()) Fail("the number of sub-keys changed");
    for (size_t i = 0; i < a->ChildCount(); ++i)
      pending.emplace_back(&a->ChildAt(i), &b->ChildAt(i));
  }
}

// The hives the file holds: a hive with neither values nor sub-keys is left
// out of the file, as a registry has every hive whether or not it is written.
std::vector<const RegistryKey *> WrittenHives(const RegistryKey &root) {
  std::vector<const RegistryKey *> hives;
  for (size_t i = 0; i < root.ChildCount(); ++i) {
    const RegistryKey &hive = root.ChildAt(i);
    if (hive.ValueCount() > 0 || hive.ChildCount() > 0) hives.push_back(&hive);
  }
  return hives;
}

void ExpectSameStores(const RegistryKey &first, const RegistryKey &second) {
  const std::vector<const RegistryKey *> a = WrittenHives(first), b = WrittenHives(second);
  if (a.size() != b.size()) Fail("the number of hives with keys or values changed");
  for (size_t i = 0; i < a.size(); ++i) ExpectSameTrees(*a[i], *b[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string bytes(reinterpret_cast<const char *>(data), size);
  RegistryTree tree;
  standin::StoreParseError error;
  if (!standin::ParseStore(bytes, 1, tree, error)) {
    if (error.line == 0 || error.reason.empty()) Fail("a refusal that says neither where nor why");
    return 0;
  }
  const std::string written = standin::WriteStore(tree);
  RegistryTree again;
  if (!standin::ParseStore(written, 1, again, error)) {
    std::fprintf(stderr, "line %zu: %s\n", error.line, error.reason.c_str());
    Fail("what the writer wrote does not read back");
  }
  ExpectSameStores(tree.Root(), again.Root());
  if (standin::WriteStore(again) != written) Fail("writing what was read back gives other bytes");
  return 0;
}
