// Reading the store file (grammar in store_grammar.h). The reader accepts what
// the writer produces and what a person editing the file by hand is likely to
// write (LF line ends, upper-case hex, short dword digits, spaces around
// '='), and rejects everything else with the line it stopped at.
#include <algorithm>
#include <cstring>
#include <vector>

#include "common/line_scan.h"
#include "registry/key_name_case.h"
#include "registry/store_grammar.h"

namespace standin {

const char16_t kStoreHeader[] = u"Windows Registry Editor Version 5.00";
const char16_t kKeyInfoPrefix[] = u";addbar-key written=";

namespace {

const size_t kMaxKeyNameUnits = 256;
const size_t kMaxValueNameUnits = 16383;

bool IsBlank(WCHAR unit) { return unit == u' ' || unit == u'\t'; }

WStringView TrimLeft(WStringView text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  return text.substr(start);
}

WStringView TrimRight(WStringView text) {
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

int HexDigit(WCHAR unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  return -1;
}

bool StartsWithNoCase(WStringView text, WStringView prefix) {
  return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

// Parses 1 to `maxDigits` hex digits making up all of `text`.
bool ParseHexNumber(WStringView text, size_t maxDigits, uint64_t &number) {
  if (text.empty() || text.size() > maxDigits) return false;
  number = 0;
  for (WCHAR unit : text) {
    int digit = HexDigit(unit);
    if (digit < 0) return false;
    number = number * 16 + static_cast<uint64_t>(digit);
  }
  return true;
}

class StoreParser {
 public:
  StoreParser(uint64_t defaultTime, RegistryTree &tree, StoreParseError &error)
      : m_defaultTime(defaultTime), m_tree(tree), m_error(error) {}

  bool Parse(const std::string &bytes);

 private:
  bool Fail(size_t line, const char *reason) {
    m_error.line = line;
    m_error.reason = reason;
    return false;
  }
  // Takes the next line's units into m_line (without its line feed and a
  // carriage return before it) and counts it; false at the end of the file.
  // A line at a time: the file's units are never copied whole.
  bool NextLine();
  bool ParseKeyLine(size_t number, WStringView text);
  void ParseKeyInfo(WStringView text);
  bool ParseValueLine(size_t number, WStringView text);
  // Reads a quoted text starting at text[at] == '"'; `at` ends past the quote.
  bool ParseQuoted(size_t number, WStringView text, size_t &at, WString &out);
  bool ParseData(size_t number, WStringView text, DWORD &type, std::string &data);
  bool ParseHexBytes(size_t number, WStringView text, std::string &data);

  uint64_t m_defaultTime;
  RegistryTree &m_tree;
  StoreParseError &m_error;
  const char *m_units = nullptr;  // the file after the byte-order mark, UTF-16LE
  size_t m_unitCount = 0;
  size_t m_next = 0;    // the unit the next line starts at
  size_t m_number = 0;  // the number of the line in m_line
  WString m_line;
  // The names along the last key line's path and the keys they led to: key
  // lines come mostly in the written order, so a path shares most of its
  // names with the one before and need not be looked up from the top.
  std::vector<std::pair<WString, RegistryKey *>> m_lastPath;
  // Scratch for the name and the text of the value being read, reused so
  // that most values make no string of their own until they are stored.
  WString m_name;
  WString m_text;
  RegistryKey *m_key = nullptr;
  bool m_keyInfoExpected = false;
};

bool StoreParser::NextLine() {
  if (m_next >= m_unitCount) return false;
  const size_t end = FindLineFeedUtf16Le(m_units, m_next, m_unitCount);
  m_line.resize(end - m_next);
  if (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) {
    std::memcpy(&m_line[0], m_units + 2 * m_next, m_line.size() * sizeof(WCHAR));
  } else {
    for (size_t i = 0; i < m_line.size(); ++i) {
      const size_t at = 2 * (m_next + i);
      m_line[i] = static_cast<WCHAR>(static_cast<unsigned char>(m_units[at]) |
                                     (static_cast<unsigned char>(m_units[at + 1]) << 8));
    }
  }
  if (!m_line.empty() && m_line.back() == u'\r') m_line.pop_back();
  m_next = end + 1;
  ++m_number;
  return true;
}

bool StoreParser::Parse(const std::string &bytes) {
  if (bytes.empty()) return true;
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xFE)
    return Fail(1, "the file is not UTF-16LE text with a byte-order mark");
  m_units = bytes.data() + 2;
  m_unitCount = (bytes.size() - 2) / 2;
  if (bytes.size() % 2 != 0) {
    size_t breaks = 0;
    for (size_t at = 0; (at = FindLineFeedUtf16Le(m_units, at, m_unitCount)) < m_unitCount; ++at)
      ++breaks;
    return Fail(breaks + 1, "the file ends in the middle of a UTF-16 unit");
  }
  if (!NextLine() || TrimRight(m_line) != WStringView(kStoreHeader))
    return Fail(1, "the first line is not \"Windows Registry Editor Version 5.00\"");

  while (NextLine()) {
    const size_t number = m_number;
    WStringView text = TrimRight(TrimLeft(m_line));
    if (text.empty()) continue;
    if (text[0] == u';') {
      if (m_keyInfoExpected) ParseKeyInfo(text);
      m_keyInfoExpected = false;
      continue;
    }
    m_keyInfoExpected = false;
    if (text[0] == u'[') {
      if (!ParseKeyLine(number, text)) return false;
      continue;
    }
    if (text[0] != u'"' && text[0] != u'@')
      return Fail(number, "the line is no key, value or comment");
    if (text.back() != u'\\') {
      if (!ParseValueLine(number, text)) return false;
      continue;
    }
    // A value's hex data may go on over lines that end with a backslash.
    WString joined(text);
    while (!joined.empty() && joined.back() == u'\\') {
      joined.pop_back();
      if (!NextLine()) return Fail(m_number, "the value's data is cut off at the end of the file");
      joined += TrimRight(TrimLeft(m_line));
    }
    if (!ParseValueLine(number, joined)) return false;
  }
  return true;
}

bool StoreParser::ParseKeyLine(size_t number, WStringView text) {
  if (text.back() != u']') return Fail(number, "the key line does not end with ']'");
  WStringView path = text.substr(1, text.size() - 2);
  if (!path.empty() && path[0] == u'-')
    return Fail(number, "a store holds keys, not instructions to delete them");
  size_t slash = path.find(u'\\');
  WStringView hiveName = path.substr(0, slash);
  // Reused from the last path while the names are spelled the same.
  size_t depth = 0;
  bool reusing = !m_lastPath.empty() && m_lastPath[0].first == hiveName;
  RegistryKey *key = reusing ? m_lastPath[0].second : nullptr;
  if (!reusing) {
    const char16_t *hive = CanonicalHiveName(hiveName);
    if (hive == nullptr) return Fail(number, "the key does not begin with a known hive");
    bool added = false;
    key = &m_tree.Root().AddChild(hive, added);
    if (added) key->lastWrite = m_defaultTime;
    m_lastPath.clear();
    m_lastPath.emplace_back(WString(hiveName), key);
  }
  while (slash != WStringView::npos) {
    if (++depth > kMaxKeyDepth)
      return Fail(number, "the key is nested deeper than 512 levels below its hive");
    size_t next = path.find(u'\\', slash + 1);
    WStringView name =
        path.substr(slash + 1, next == WStringView::npos ? WStringView::npos : next - slash - 1);
    if (name.empty()) return Fail(number, "the key path has an empty name in it");
    if (name.size() > kMaxKeyNameUnits)
      return Fail(number, "a key name in the path is longer than 256 units");
    reusing = reusing && depth < m_lastPath.size() && m_lastPath[depth].first == name;
    if (reusing) {
      key = m_lastPath[depth].second;
    } else {
      bool added = false;
      key = &key->AddChild(name, added);
      if (added) key->lastWrite = m_defaultTime;
      m_lastPath.resize(depth);
      m_lastPath.emplace_back(WString(name), key);
    }
    slash = next;
  }
  m_lastPath.resize(depth + 1);
  m_key = key;
  m_keyInfoExpected = true;
  return true;
}

void StoreParser::ParseKeyInfo(WStringView text) {
  WStringView prefix(kKeyInfoPrefix);
  if (text.substr(0, prefix.size()) != prefix) return;
  WStringView rest = text.substr(prefix.size());
  const WStringView idLabel(u" id=");
  size_t split = rest.find(idLabel);
  if (split == WStringView::npos) return;
  uint64_t written = 0, id = 0;
  if (!ParseHexNumber(rest.substr(0, split), 16, written)) return;
  if (!ParseHexNumber(rest.substr(split + idLabel.size()), 16, id)) return;
  m_key->lastWrite = written;
  m_key->serial = id;
}

bool StoreParser::ParseQuoted(size_t number, WStringView text, size_t &at, WString &out) {
  ++at;  // the opening quote
  while (at < text.size()) {
    // The units up to the next quote or backslash, as they are.
    size_t plain = at;
    while (plain < text.size() && text[plain] != u'"' && text[plain] != u'\\') ++plain;
    out.append(text.data() + at, plain - at);
    at = plain;
    if (at >= text.size()) break;
    WCHAR unit = text[at++];
    if (unit == u'"') return true;
    if (at >= text.size()) break;
    WCHAR escaped = text[at++];
    switch (escaped) {
      case u'\\':
      case u'"':
        out += escaped;
        break;
      case u'r':
        out += u'\r';
        break;
      case u'n':
        out += u'\n';
        break;
      default:
        return Fail(number, "a quoted text has a backslash before a character it can't escape");
    }
  }
  return Fail(number, "a quoted text has no closing quote");
}

bool StoreParser::ParseValueLine(size_t number, WStringView text) {
  if (m_key == nullptr) return Fail(number, "a value comes before the first key line");
  WString &name = m_name;
  name.clear();
  size_t at = 0;
  if (text[0] == u'@') {
    at = 1;
  } else if (!ParseQuoted(number, text, at, name)) {
    return false;
  }
  if (name.size() > kMaxValueNameUnits)
    return Fail(number, "a value name is longer than 16383 units");
  WStringView rest = TrimLeft(text.substr(at));
  if (rest.empty() || rest[0] != u'=') return Fail(number, "the value name is not followed by '='");
  DWORD type = REG_NONE;
  std::string data;
  if (!ParseData(number, TrimLeft(rest.substr(1)), type, data)) return false;
  m_key->SetValue(name, type, std::move(data));
  return true;
}

bool StoreParser::ParseData(size_t number, WStringView text, DWORD &type, std::string &data) {
  if (!text.empty() && text[0] == u'"') {
    WString &value = m_text;
    value.clear();
    size_t at = 0;
    if (!ParseQuoted(number, text, at, value)) return false;
    if (!TrimLeft(text.substr(at)).empty())
      return Fail(number, "something follows the closing quote of the value");
    value += u'\0';
    type = REG_SZ;
    if (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) {
      data.assign(reinterpret_cast<const char *>(value.data()), value.size() * sizeof(WCHAR));
      return true;
    }
    data.reserve(value.size() * 2);
    for (WCHAR unit : value) {
      data += static_cast<char>(unit & 0xFF);
      data += static_cast<char>(unit >> 8);
    }
    return true;
  }
  if (StartsWithNoCase(text, u"dword:")) {
    uint64_t number32 = 0;
    if (!ParseHexNumber(text.substr(6), 8, number32))
      return Fail(number, "dword: is not followed by 1 to 8 hex digits");
    type = REG_DWORD;
    for (int shift = 0; shift < 32; shift += 8)
      data += static_cast<char>((number32 >> shift) & 0xFF);
    return true;
  }
  if (StartsWithNoCase(text, u"hex:")) {
    type = REG_BINARY;
    return ParseHexBytes(number, text.substr(4), data);
  }
  if (StartsWithNoCase(text, u"hex(")) {
    size_t close = text.find(u')');
    uint64_t kind = 0;
    if (close == WStringView::npos || close + 1 >= text.size() || text[close + 1] != u':' ||
        !ParseHexNumber(text.substr(4, close - 4), 8, kind))
      return Fail(number, "hex( is not followed by a type number, ')' and ':'");
    type = static_cast<DWORD>(kind);
    return ParseHexBytes(number, text.substr(close + 2), data);
  }
  if (!text.empty() && text[0] == u'-')
    return Fail(number, "a store holds values, not instructions to delete them");
  return Fail(number, "the value's data is neither quoted text, dword: nor hex");
}

bool StoreParser::ParseHexBytes(size_t number, WStringView text, std::string &data) {
  data.reserve(text.size() / 3 + 1);
  size_t at = 0;
  while (true) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at >= text.size()) return true;
    size_t digits = 0;
    int byte = 0;
    while (at < text.size() && HexDigit(text[at]) >= 0 && digits < 2) {
      byte = byte * 16 + HexDigit(text[at++]);
      ++digits;
    }
    if (digits == 0) return Fail(number, "hex data holds something other than hex bytes");
    data += static_cast<char>(byte);
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at >= text.size()) return true;
    if (text[at] != u',') return Fail(number, "hex bytes are not separated by commas");
    ++at;
  }
}

}  // namespace

bool ParseStore(const std::string &bytes, uint64_t defaultTime, RegistryTree &tree,
                StoreParseError &error) {
  StoreParser parser(defaultTime, tree, error);
  return parser.Parse(bytes);
}

}  // namespace standin
