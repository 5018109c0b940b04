#include "whole_run/store_script.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "common/unicode.h"

namespace {

// Keeps scripts that grew under mutation quick to run.
const size_t kMostLines = 300;

struct ScriptValue {
  bool unnamed = false;   // "@"
  bool nameless = false;  // empty name
  std::string name;       // UTF-8
  std::string value;      // what follows "="
};

std::u16string Units(const std::string &utf8) {
  standin::WString wide = standin::FromUtf8(utf8);
  return std::u16string(wide.begin(), wide.end());
}

std::string Utf16Bytes(const std::u16string &text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Pairs of hex digits; anything else is passed over.
std::string HexBytes(const std::string &text) {
  std::string bytes;
  int high = -1;
  for (char c : text) {
    int digit = HexDigit(c);
    if (digit < 0) continue;
    if (high < 0) {
      high = digit;
    } else {
      bytes += static_cast<char>(high * 16 + digit);
      high = -1;
    }
  }
  return bytes;
}

uint32_t Number(const std::string &text) {
  return static_cast<uint32_t>(std::strtoull(text.c_str(), nullptr, 0));
}

std::string ExpandKeyPath(const std::string &path, const std::string &layoutRoot,
                          const std::string &globalRoot, const std::string &base) {
  std::string head = path.substr(0, path.find('\\'));
  std::string rest = path.size() > head.size() ? path.substr(head.size()) : std::string();
  if (head == "T") return layoutRoot + "\\MainFrame Settings\\Toolbars" + rest;
  if (head == "L") return layoutRoot + rest;
  if (head == "G") return globalRoot + rest;
  if (head == "F") return globalRoot + "\\Favorites" + rest;
  if (head == "I") return globalRoot + "\\Favorites_icons" + rest;
  return base.empty() ? path : base + "\\" + path;
}

// ---- Registry ---------------------------------------------------------------------------

std::u16string Quoted(const std::u16string &text) {
  std::u16string quoted = u"\"";
  for (char16_t unit : text) {
    if (unit == u'\\' || unit == u'"') quoted += u'\\';
    quoted += unit;
  }
  return quoted + u"\"";
}

std::u16string HexList(const std::string &bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::u16string list;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) list += u',';
    list += static_cast<char16_t>(kDigits[static_cast<unsigned char>(bytes[i]) >> 4]);
    list += static_cast<char16_t>(kDigits[static_cast<unsigned char>(bytes[i]) & 15]);
  }
  return list;
}

std::string TextBytes(const std::u16string &text, size_t terminators) {
  return Utf16Bytes(text) + std::string(2 * terminators, '\0');
}

std::u16string RegistryData(const std::string &value) {
  if (value.compare(0, 2, "d:") == 0) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08x", Number(value.substr(2)));
    return u"dword:" + Units(digits);
  }
  if (value.compare(0, 2, "b:") == 0) return u"hex:" + HexList(HexBytes(value.substr(2)));
  if (value.compare(0, 2, "e:") == 0) {
    return u"hex(2):" + HexList(TextBytes(Units(value.substr(2)), 1));
  }
  if (value.compare(0, 2, "m:") == 0) {
    std::u16string list = Units(value.substr(2));
    for (char16_t &unit : list) {
      if (unit == u'|') unit = 0;
    }
    return u"hex(7):" + HexList(TextBytes(list, 2));
  }
  size_t colon = value.find(':');
  if (value.size() > 1 && value[0] == 'x' && colon != std::string::npos && colon <= 3) {
    char type[8];
    std::snprintf(type, sizeof type, "%x",
                  static_cast<unsigned>(Number("0x" + value.substr(1, colon - 1))));
    return u"hex(" + Units(type) + u"):" + HexList(HexBytes(value.substr(colon + 1)));
  }
  return Quoted(Units(value));
}

// A registry key path has no empty names: they are left out.
std::string RegistryKeyPath(const std::string &path) {
  std::string kept;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) kept += (kept.empty() ? "" : "\\") + path.substr(start, end - start);
    start = end + 1;
  }
  return kept;
}

std::string RegistryFile(
    const std::vector<std::pair<std::string, std::vector<ScriptValue>>> &keys) {
  std::u16string text = u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n";
  for (const auto &key : keys) {
    const std::string path = RegistryKeyPath(key.first);
    if (path.empty()) continue;
    text += u"[HKEY_CURRENT_USER\\" + Units(path) + u"]\r\n";
    for (const ScriptValue &value : key.second) {
      if (value.nameless) {
        text += u"@=hex(0):\r\n";
        continue;
      }
      text += (value.unnamed ? std::u16string(u"@") : Quoted(Units(value.name))) + u"=" +
              RegistryData(value.value) + u"\r\n";
    }
    text += u"\r\n";
  }
  return Utf16Bytes(text);
}

// ---- INI --------------------------------------------------------------------------------

std::string IniValue(const std::string &value) {
  if (value.compare(0, 2, "d:") == 0) {
    return std::to_string(static_cast<int32_t>(Number(value.substr(2))));
  }
  return value;
}

}  // namespace

std::string ReadScriptHeader(const std::string &input, StoreScript &script) {
  if (input.empty() || input[0] != '#') return input;
  size_t end = input.find('\n');
  std::istringstream header(
      input.substr(1, end == std::string::npos ? std::string::npos : end - 1));
  std::string kind, drives, stop, layout;
  header >> kind >> drives >> stop >> layout;
  if (kind == "U") script.kind = StoreKind::IniUtf16;
  if (kind == "A") script.kind = StoreKind::Ini8Bit;
  script.drives.clear();
  for (char c : drives) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) script.drives += c;
  }
  script.stopAt = static_cast<unsigned>(std::strtoul(stop.c_str(), nullptr, 10) % 1000);
  for (char c : layout) {
    if (((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) && script.layout.size() < 8) {
      script.layout += c;
    }
  }
  return end == std::string::npos ? std::string() : input.substr(end + 1);
}

std::string MakeStoreFile(const StoreScript &script, const std::string &body,
                          const std::string &layoutRoot, const std::string &globalRoot) {
  const bool registry = script.kind == StoreKind::Registry;
  const std::string base = registry ? "Software\\Harrowmede Plc" : "";
  const std::string &layoutKey = layoutRoot;
  const std::string &globalKey = globalRoot;
  std::vector<std::pair<std::string, std::vector<ScriptValue>>> keys;
  std::string ini;
  const std::string lineEnd = script.kind == StoreKind::Ini8Bit ? "\n" : "\r\n";

  std::istringstream lines(body);
  std::string line;
  for (size_t count = 0; count < kMostLines && std::getline(lines, line); ++count) {
    std::string clean;
    for (char c : line) {
      if (c != '\r') clean += c;
    }
    if (clean.empty()) continue;
    if (clean[0] == '!') {
      ini += clean.substr(1) + lineEnd;
      continue;
    }
    if (clean[0] == '[') {
      std::string path = clean.substr(
          1, clean.find(']') == std::string::npos ? std::string::npos : clean.find(']') - 1);
      std::string full = ExpandKeyPath(path, layoutKey, globalKey, base);
      keys.emplace_back(full, std::vector<ScriptValue>());
      ini += "[" + full + "]" + lineEnd;
      continue;
    }
    size_t equals = clean.find('=');
    if (equals == std::string::npos || keys.empty()) continue;
    ScriptValue value;
    value.name = clean.substr(0, equals);
    value.value = clean.substr(equals + 1);
    value.unnamed = value.name == "@";
    value.nameless = value.name.empty();
    keys.back().second.push_back(value);
    ini += value.name + "=" + IniValue(value.value) + lineEnd;
  }
  if (registry) return RegistryFile(keys);
  if (script.kind == StoreKind::Ini8Bit) return ini;
  return "\xFF\xFE" + Utf16Bytes(Units(ini));
}
