#include "whole_run/store_view.h"

#include <vector>

#include "common/name_fold.h"
#include "registry/key_name_case.h"
#include "registry/store_grammar.h"

namespace {

std::string Utf8(const WString &text) { return standin::ToUtf8(text); }

void ViewKeyTree(const standin::RegistryKey &key, const WString &path, std::vector<ViewKey> &keys) {
  std::vector<std::pair<const standin::RegistryKey *, WString>> pending{{&key, path}};
  while (!pending.empty()) {
    auto [at, atPath] = pending.back();
    pending.pop_back();
    ViewKey view{atPath, {}};
    for (size_t i = 0; i < at->ValueCount(); ++i) {
      const standin::RegistryValue &value = at->ValueAt(i);
      view.values.push_back(ViewValue{value.name, value.type, value.data, false, WString()});
      WString text;
      view.values.back().hasText = StringOf(view.values.back(), text);
      view.values.back().text = text;
    }
    if (!atPath.empty()) keys.push_back(view);
    for (size_t i = 0; i < at->ChildCount(); ++i) {
      const standin::RegistryKey &child = at->ChildAt(i);
      pending.emplace_back(&child, atPath.empty() ? child.Name() : atPath + u'\\' + child.Name());
    }
  }
}

std::vector<WString> Strings(const std::vector<WCHAR> &buffer, DWORD length) {
  std::vector<WString> strings;
  for (DWORD start = 0; start < length && buffer[start] != 0;) {
    WString text(&buffer[start]);
    strings.push_back(text);
    start += static_cast<DWORD>(text.size()) + 1;
  }
  return strings;
}

}  // namespace

const ViewKey *StoreView::Find(const WString &path) const {
  for (const ViewKey &key : keys) {
    if (SameName(*this, key.path, path)) return &key;
  }
  return nullptr;
}

bool SameName(const StoreView &view, const WString &a, const WString &b) {
  return view.registry ? standin::SameName(a, b) : standin::SameFoldedName(a, b);
}

bool StringOf(const ViewValue &value, WString &text) {
  if (value.type == kTextLine) return false;
  if (value.hasText) {
    text = value.text;
    return true;
  }
  const std::string &data = value.data;
  const size_t units = data.size() / 2;
  auto unit = [&](size_t i) {
    return static_cast<WCHAR>(static_cast<unsigned char>(data[2 * i]) |
                              static_cast<unsigned char>(data[2 * i + 1]) << 8);
  };
  if (data.size() % 2 != 0) return false;
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
    if (units == 0 || unit(units - 1) != 0) return false;
  } else if (value.type == REG_MULTI_SZ) {
    if (units < 2 || unit(units - 1) != 0 || unit(units - 2) != 0) return false;
  } else {
    return false;
  }
  text.clear();
  for (size_t i = 0; i < units && unit(i) != 0; ++i) text += unit(i);
  return true;
}

StoreView ViewRegistryFile(const std::string &bytes) {
  StoreView view;
  view.registry = true;
  standin::RegistryTree tree;
  standin::StoreParseError error;
  view.parsed = standin::ParseStore(bytes, 1, tree, error);
  if (!view.parsed) return view;
  const standin::RegistryKey &root = tree.Root();
  for (size_t i = 0; i < root.ChildCount(); ++i) {
    if (standin::SameName(root.ChildAt(i).Name(), u"HKEY_CURRENT_USER")) {
      ViewKeyTree(root.ChildAt(i), WString(), view.keys);
    }
  }
  return view;
}

StoreView ViewIniFile(const WString &path) {
  StoreView view;
  view.registry = false;
  std::vector<WCHAR> buffer(1 << 16, 0);
  DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()),
                                                path.c_str());
  for (const WString &section : Strings(buffer, length)) {
    if (view.Find(section) != nullptr) continue;  // the first section of a name is the one read
    ViewKey key{section, {}};
    std::vector<WCHAR> lines(1 << 16, 0);
    DWORD lineLength = GetPrivateProfileSectionW(section.c_str(), lines.data(),
                                                 static_cast<DWORD>(lines.size()), path.c_str());
    for (const WString &line : Strings(lines, lineLength)) {
      size_t equals = line.find(u'=');
      ViewValue value{line.substr(0, equals), kTextLine, std::string(), false, WString()};
      if (equals != WString::npos) {
        value.type = REG_SZ;
        value.data = Utf8(line.substr(equals + 1));
        if (value.name == u"@") value.name.clear();
        // The text a program reads: the first entry of that name, unquoted.
        WCHAR text[4096];
        WString entry = value.name.empty() && equals > 0 ? WString(u"@") : line.substr(0, equals);
        DWORD read =
            GetPrivateProfileStringW(section.c_str(), entry.c_str(), u"", text, 4096, path.c_str());
        value.hasText = !entry.empty();
        value.text = WString(text, read);
      }
      key.values.push_back(value);
    }
    view.keys.push_back(key);
  }
  return view;
}

bool SameContents(const StoreView &a, const StoreView &b, std::string &difference) {
  if (a.parsed != b.parsed) {
    difference = "one store reads, the other does not";
    return false;
  }
  if (a.keys.size() != b.keys.size()) {
    difference = "the number of keys differs";
    return false;
  }
  for (size_t i = 0; i < a.keys.size(); ++i) {
    const ViewKey &x = a.keys[i], &y = b.keys[i];
    if (x.path != y.path || x.values.size() != y.values.size()) {
      difference = "key " + Utf8(x.path) + " differs";
      return false;
    }
    for (size_t j = 0; j < x.values.size(); ++j) {
      const ViewValue &v = x.values[j], &w = y.values[j];
      if (v.name != w.name || v.type != w.type || v.data != w.data) {
        difference = "value " + Utf8(v.name) + " of " + Utf8(x.path) + " differs";
        return false;
      }
    }
  }
  return true;
}
