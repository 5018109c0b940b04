#include "registry/registry_tree.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <random>

#include "registry/file_time.h"
#include "registry/key_name_case.h"

namespace standin {

const char16_t kCurrentUserHive[] = u"HKEY_CURRENT_USER";

namespace {
const char16_t *const kHives[] = {u"HKEY_CLASSES_ROOT",   kCurrentUserHive,
                                  u"HKEY_LOCAL_MACHINE",  u"HKEY_USERS",
                                  u"HKEY_CURRENT_CONFIG", nullptr};
}  // namespace

const char16_t *CanonicalHiveName(WStringView name) {
  for (const char16_t *const *hive = kHives; *hive != nullptr; ++hive) {
    if (SameName(name, *hive)) return *hive;
  }
  return nullptr;
}

const char16_t *const *HiveWritingOrder() { return kHives; }

namespace {
std::atomic<uint64_t> g_keyGeneration{1};
void NextKeyGeneration() { ++g_keyGeneration; }
}  // namespace

uint64_t KeyGeneration() { return g_keyGeneration; }

uint64_t NewKeySerial() {
  static std::mutex lock;
  static std::mt19937_64 generator = [] {
    std::random_device device;
    std::seed_seq seed{device(), device(), static_cast<unsigned>(getpid()),
                       static_cast<unsigned>(FileTimeNow())};
    return std::mt19937_64(seed);
  }();
  std::lock_guard<std::mutex> hold(lock);
  uint64_t serial = 0;
  while (serial == 0) serial = generator();
  return serial;
}

RegistryKey::RegistryKey(WString name) : m_name(std::move(name)), m_upperName(UpcaseName(m_name)) {}

size_t RegistryKey::ChildPosition(WStringView name) const {
  // Children mostly come in their order (a store lists them sorted), so
  // the place after the last one is tried first.
  if (m_children.empty() || CompareWithUpcased(m_children.back()->m_upperName, name) < 0)
    return m_children.size();
  auto at = std::lower_bound(m_children.begin(), m_children.end(), name,
                             [](const std::unique_ptr<RegistryKey> &child, WStringView key) {
                               return CompareWithUpcased(child->m_upperName, key) < 0;
                             });
  return static_cast<size_t>(at - m_children.begin());
}

RegistryKey *RegistryKey::FindChild(WStringView name) const {
  size_t at = ChildPosition(name);
  if (at < m_children.size() && SameName(m_children[at]->m_name, name)) return m_children[at].get();
  return nullptr;
}

RegistryKey &RegistryKey::AddChild(WStringView name) {
  bool added = false;
  return AddChild(name, added);
}

RegistryKey &RegistryKey::AddChild(WStringView name, bool &added) {
  size_t at = ChildPosition(name);
  added = !(at < m_children.size() && SameName(m_children[at]->m_name, name));
  if (!added) return *m_children[at];
  auto child = std::make_unique<RegistryKey>(WString(name));
  RegistryKey &made = *child;
  m_children.insert(m_children.begin() + static_cast<std::ptrdiff_t>(at), std::move(child));
  return made;
}

bool RegistryKey::RemoveChild(WStringView name) {
  size_t at = ChildPosition(name);
  if (at >= m_children.size() || !SameName(m_children[at]->m_name, name)) return false;
  m_children.erase(m_children.begin() + static_cast<std::ptrdiff_t>(at));
  NextKeyGeneration();
  return true;
}

void RegistryKey::RemoveAllChildren() {
  m_children.clear();
  NextKeyGeneration();
}

namespace {
// Up to this many values a key is searched along its values.
const size_t kValuesSearchedInOrder = 8;
}  // namespace

size_t RegistryKey::ValuePosition(WStringView name) const {
  if (m_values.size() <= kValuesSearchedInOrder) {
    for (size_t i = 0; i < m_values.size(); ++i) {
      if (SameName(m_values[i].name, name)) return i;
    }
    return m_values.size();
  }
  if (!m_valuesIndexed) {
    m_valueIndex.clear();
    for (size_t i = 0; i < m_values.size(); ++i)
      m_valueIndex.emplace(UpcaseName(m_values[i].name), i);
    m_valuesIndexed = true;
  }
  auto found = m_valueIndex.find(UpcaseName(name));
  return found == m_valueIndex.end() ? m_values.size() : found->second;
}

const RegistryValue *RegistryKey::FindValue(WStringView name) const {
  size_t at = ValuePosition(name);
  return at == m_values.size() ? nullptr : &m_values[at];
}

bool RegistryKey::SetValue(WStringView name, DWORD type, std::string data) {
  size_t at = ValuePosition(name);
  if (at == m_values.size()) {
    if (m_valuesIndexed) m_valueIndex.emplace(UpcaseName(name), m_values.size());
    // Room for a few from the first: keys mostly hold a handful of values.
    if (m_values.capacity() == 0) m_values.reserve(4);
    m_values.push_back(RegistryValue{WString(name), type, std::move(data)});
    written.valuesChanged = true;
    return true;
  }
  RegistryValue &value = m_values[at];
  if (value.type == type && value.data == data) return false;
  value.type = type;
  value.data = std::move(data);
  written.valuesChanged = true;
  return true;
}

bool RegistryKey::RemoveValue(WStringView name) {
  size_t at = ValuePosition(name);
  if (at == m_values.size()) return false;
  m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(at));
  m_valuesIndexed = false;
  m_valueIndex.clear();
  written.valuesChanged = true;
  return true;
}

void RegistryKey::RemoveAllValues() {
  m_values.clear();
  m_valuesIndexed = false;
  m_valueIndex.clear();
  written.valuesChanged = true;
}

DWORD RegistryKey::LongestChildName() const {
  size_t longest = 0;
  for (const auto &child : m_children) longest = std::max(longest, child->m_name.size());
  return static_cast<DWORD>(longest);
}

DWORD RegistryKey::LongestValueName() const {
  size_t longest = 0;
  for (const auto &value : m_values) longest = std::max(longest, value.name.size());
  return static_cast<DWORD>(longest);
}

DWORD RegistryKey::LongestValueData() const {
  size_t longest = 0;
  for (const auto &value : m_values) longest = std::max(longest, value.data.size());
  return static_cast<DWORD>(longest);
}

RegistryTree::RegistryTree() : m_root(WString()) { NextKeyGeneration(); }

RegistryTree::~RegistryTree() { NextKeyGeneration(); }

RegistryKey &RegistryTree::CurrentUser() {
  RegistryKey *hive = m_root.FindChild(kCurrentUserHive);
  if (hive == nullptr) {
    hive = &m_root.AddChild(kCurrentUserHive);
    hive->lastWrite = FileTimeNow();
  }
  return *hive;
}

}  // namespace standin
