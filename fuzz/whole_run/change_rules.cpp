#include "whole_run/change_rules.h"

#include <cstdio>
#include <vector>

namespace {

std::string Utf8(const WString &text) { return standin::ToUtf8(text); }

WString Root(char letter) { return WString{static_cast<WCHAR>(letter), u':', u'\\'}; }

bool SameAsciiText(const WString &a, const WString &b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    WCHAR x = a[i] >= u'a' && a[i] <= u'z' ? static_cast<WCHAR>(a[i] - 32) : a[i];
    WCHAR y = b[i] >= u'a' && b[i] <= u'z' ? static_cast<WCHAR>(b[i] - 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

bool SameValue(const ViewValue &a, const ViewValue &b) {
  return a.type == b.type && a.data == b.data;
}

// Whether the two lists hold the same values, in any order.
bool SameValues(std::vector<const ViewValue *> a, std::vector<const ViewValue *> b) {
  if (a.size() != b.size()) return false;
  for (const ViewValue *value : a) {
    bool found = false;
    for (size_t i = 0; i < b.size() && !found; ++i) {
      if (b[i] != nullptr && SameValue(*value, *b[i])) {
        b[i] = nullptr;
        found = true;
      }
    }
    if (!found) return false;
  }
  return true;
}

// The string the value holds, written as a run writes one: REG_SZ in the
// registry, the text itself in an INI file.
bool IsWrittenText(const StoreView &view, const ViewValue &value, const WString &text) {
  if (!view.registry) return value.type == REG_SZ && value.data == standin::ToUtf8(text);
  std::string bytes;
  for (WCHAR unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return value.type == REG_SZ && value.data == bytes + std::string(2, '\0');
}

bool IsBookmarkName(const WString &name, char letter) {
  char expected[8];
  for (int number = 0; number < 0x100; ++number) {
    std::snprintf(expected, sizeof expected, "%02X_%c", number, letter);
    if (name == standin::FromUtf8(expected)) return true;
  }
  return false;
}

}  // namespace

std::string DrivesWithBookmarks(const StoreView &view, const RunFacts &run) {
  std::string letters;
  const ViewKey *bookmarks = view.Find(run.bookmarks);
  for (char letter : run.drives) {
    bool has = false;
    for (size_t i = 0; bookmarks != nullptr && i < bookmarks->values.size() && !has; ++i) {
      const ViewValue &value = bookmarks->values[i];
      WString text;
      // A name with a null unit in it can't be asked for: no program reads it.
      has = value.name.size() == 4 && value.name[3] == static_cast<WCHAR>(letter) &&
            value.name.find(u'\0') == WString::npos && StringOf(value, text) &&
            SameAsciiText(text, Root(letter));
    }
    if (has) letters += letter;
  }
  return letters;
}

std::string ForbiddenChange(const StoreView &before, const StoreView &after, const RunFacts &run) {
  for (const ViewKey &key : before.keys) {
    if (after.Find(key.path) == nullptr) return "key " + Utf8(key.path) + " went";
  }
  const std::string hadBookmarks = DrivesWithBookmarks(before, run);
  std::string added;
  const ViewKey none{};
  for (const ViewKey &key : after.keys) {
    auto is = [&](const WString &path) { return !path.empty() && SameName(after, key.path, path); };
    const ViewKey *old = before.Find(key.path);
    if (old == nullptr) {
      if (!is(run.global) && !is(run.bookmarks) && !is(run.icons) && !is(run.driveBar) &&
          !is(run.toolbarsParent)) {
        return "key " + Utf8(key.path) + " is new";
      }
      old = &none;
    }
    // An INI line without "=" is no value: it only has to stay, beside any
    // entry of the same name.
    auto sameKind = [](const ViewValue &a, const ViewValue &b) {
      return (a.type == kTextLine) == (b.type == kTextLine);
    };
    std::vector<const ViewValue *> names;
    for (const ViewKey *side : {old, &key}) {
      for (const ViewValue &value : side->values) {
        bool known = false;
        for (const ViewValue *name : names) {
          known = known || (sameKind(*name, value) && SameName(after, name->name, value.name));
        }
        if (!known) names.push_back(&value);
      }
    }
    for (const ViewValue *first : names) {
      const WString &name = first->name;
      std::vector<const ViewValue *> was, now;
      for (const ViewValue &value : old->values) {
        if (sameKind(value, *first) && SameName(after, value.name, name)) was.push_back(&value);
      }
      for (const ViewValue &value : key.values) {
        if (sameKind(value, *first) && SameName(after, value.name, name)) now.push_back(&value);
      }
      if (SameValues(was, now)) continue;
      if (first->type == kTextLine)
        return "line \"" + Utf8(name) + "\" of " + Utf8(key.path) + " changed";
      auto named = [&](const char16_t *wanted) { return SameName(after, name, wanted); };
      const std::string where = "value \"" + Utf8(name) + "\" of " + Utf8(key.path);
      if ((is(run.toolbars) && named(u"nToolbars")) ||
          (is(run.global) && named(u"nCustMenuIcons")) ||
          (is(run.driveBar) && (named(u"binState") || named(u"binTBFlags") || named(u"nButtons") ||
                                named(u"nCmdIds")))) {
        continue;
      }
      if (!was.empty() || now.size() != 1) return where + " changed";
      const ViewValue &value = *now[0];
      if (name.empty() && is(run.driveBar) && IsWrittenText(after, value, u"DRIVEBAR_F2")) continue;
      // Opening a key for writing gives its parent section a line.
      if (!after.registry && name.empty() && value.data.empty() &&
          (is(run.global) || is(run.toolbarsParent) || is(run.toolbars))) {
        continue;
      }
      bool allowed = false;
      for (char letter : run.drives) {
        if (is(run.bookmarks) && IsBookmarkName(name, letter) &&
            IsWrittenText(after, value, Root(letter))) {
          if (hadBookmarks.find(letter) != std::string::npos) {
            return where + ": a second bookmark for a drive that had one";
          }
          if (added.find(letter) != std::string::npos) return where + ": two new bookmarks";
          added += letter;
          allowed = true;
        }
        if (is(run.icons) && name == WString(1, static_cast<WCHAR>(letter)) &&
            IsWrittenText(after, value, Root(letter))) {
          allowed = true;
        }
      }
      if (!allowed) return where + " is new";
    }
  }
  return std::string();
}
