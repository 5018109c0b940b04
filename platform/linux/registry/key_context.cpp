#include "registry/key_context.h"

namespace standin {

KeyContext::KeyContext(HKEY key, StoreSession::Mode mode, REGSAM required) {
  m_handle = ResolveHandle(key);
  if (m_handle.kind == HandleKind::Invalid) {
    m_status = ERROR_INVALID_HANDLE;
    return;
  }
  if ((m_handle.key->access & required) != required) {
    m_status = ERROR_ACCESS_DENIED;
    return;
  }
  if (m_handle.kind == HandleKind::OtherHive) return;
  m_store = std::make_unique<StoreSession>(mode);
  m_status = m_store->Status();
  if (m_status != ERROR_SUCCESS) return;
  // A key found before in this generation is still there: no walk down the
  // path, which most calls of a run would otherwise repeat.
  const uint64_t generation = KeyGeneration();
  if (m_handle.found != nullptr && m_handle.foundGeneration == generation) {
    m_key = m_handle.found;
  } else {
    m_key = FindKey(CurrentUserRoot(), m_handle.key->path);
    if (m_key != nullptr && m_handle.kind == HandleKind::Opened)
      RememberFoundKey(key, m_key, generation);
  }
  uint64_t serial = m_handle.key->serial;
  if (m_key == nullptr || (serial != 0 && m_key->serial != 0 && m_key->serial != serial)) {
    m_key = nullptr;
    m_status = ERROR_KEY_DELETED;
  }
}

DWORD SplitSubKeyPath(LPCWSTR path, std::vector<WString> &names) {
  names.clear();
  WStringView text = ViewOf(path);
  if (!text.empty() && text[0] == u'\\') return ERROR_BAD_PATHNAME;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\\', start);
    if (end == WStringView::npos) end = text.size();
    if (end > start) {
      if (end - start > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
      names.emplace_back(text.substr(start, end - start));
    }
    start = end + 1;
  }
  return ERROR_SUCCESS;
}

RegistryKey *FindKey(RegistryKey &from, const std::vector<WString> &names) {
  RegistryKey *key = &from;
  for (const WString &name : names) {
    key = key->FindChild(name);
    if (key == nullptr) return nullptr;
  }
  return key;
}

WStringView ValueName(LPCWSTR name) { return ViewOf(name); }

}  // namespace standin
