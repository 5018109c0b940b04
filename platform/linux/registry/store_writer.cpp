// Writing the store file (grammar in store_grammar.h) the way the registry
// editor exports, so that the file imports into a Windows registry as is.
#include <cstdio>
#include <cstring>

#include "registry/store_grammar.h"

namespace standin {

namespace {

// A hex line is continued once it reaches this many units, as exports do,
// which keeps every line within 80 columns.
const size_t kHexLineLimit = 77;

void AppendAscii(WString &out, const char *text) {
  while (*text != '\0') out += static_cast<WCHAR>(*text++);
}

void AppendHex(WString &out, uint64_t number, int digits) {
  static const char kDigits[] = "0123456789abcdef";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
    out += static_cast<WCHAR>(kDigits[(number >> shift) & 0xF]);
}

void AppendQuoted(WString &out, WStringView text) {
  out += u'"';
  for (WCHAR unit : text) {
    switch (unit) {
      case u'\\':
        out += u"\\\\";
        break;
      case u'"':
        out += u"\\\"";
        break;
      // Only value names get here with these: data holding them is written
      // as hex.
      case u'\r':
        out += u"\\r";
        break;
      case u'\n':
        out += u"\\n";
        break;
      default:
        out += unit;
    }
  }
  out += u'"';
}

WCHAR UnitAt(const std::string &data, size_t index) {
  return static_cast<WCHAR>(static_cast<unsigned char>(data[2 * index]) |
                            (static_cast<unsigned char>(data[2 * index + 1]) << 8));
}

// A REG_SZ can be written as quoted text when reading that text back gives
// the same bytes: whole units, one terminator at the end and nowhere else, no
// line break inside.
bool FitsQuotedText(const std::string &data) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  size_t units = data.size() / 2;
  if (UnitAt(data, units - 1) != 0) return false;
  for (size_t i = 0; i + 1 < units; ++i) {
    WCHAR unit = UnitAt(data, i);
    if (unit == 0 || unit == u'\r' || unit == u'\n') return false;
  }
  return true;
}

void AppendHexData(WString &out, WString line, const std::string &data) {
  for (size_t i = 0; i < data.size(); ++i) {
    AppendHex(line, static_cast<unsigned char>(data[i]), 2);
    if (i + 1 == data.size()) break;
    line += u',';
    if (line.size() >= kHexLineLimit) {
      out += line;
      out += u"\\\r\n";
      line = u"  ";
    }
  }
  out += line;
  out += u"\r\n";
}

void AppendValue(WString &out, const RegistryValue &value) {
  WString line;
  if (value.name.empty()) {
    line += u'@';
  } else {
    AppendQuoted(line, value.name);
  }
  line += u'=';
  if (value.type == REG_SZ && FitsQuotedText(value.data)) {
    size_t units = value.data.size() / 2 - 1;
    WString text;
    text.reserve(units);
    for (size_t i = 0; i < units; ++i) text += UnitAt(value.data, i);
    AppendQuoted(line, text);
    out += line;
    out += u"\r\n";
    return;
  }
  if (value.type == REG_DWORD && value.data.size() == 4) {
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value.data[i]);
    AppendAscii(line, "dword:");
    AppendHex(line, number, 8);
    out += line;
    out += u"\r\n";
    return;
  }
  if (value.type == REG_BINARY) {
    AppendAscii(line, "hex:");
  } else {
    char kind[16];
    snprintf(kind, sizeof kind, "hex(%x):", static_cast<unsigned>(value.type));
    AppendAscii(line, kind);
  }
  AppendHexData(out, std::move(line), value.data);
}

// `path` holds the names from the hive down to the key.
void MakeKeyLines(const std::vector<const WString *> &path, RegistryKey &key) {
  WString &out = key.written.units;
  out.clear();
  out += u'[';
  for (size_t i = 0; i < path.size(); ++i) {
    if (i > 0) out += u'\\';
    out += *path[i];
  }
  out += u"]\r\n";
  out += kKeyInfoPrefix;
  AppendHex(out, key.lastWrite, 16);
  AppendAscii(out, " id=");
  AppendHex(out, key.serial, 16);
  out += u"\r\n";
  for (size_t i = 0; i < key.ValueCount(); ++i) AppendValue(out, key.ValueAt(i));
  out += u"\r\n";
  key.written.lastWrite = key.lastWrite;
  key.written.serial = key.serial;
  key.written.valuesChanged = false;
}

ByteSpan SpanOf(const WString &units) {
  return ByteSpan{reinterpret_cast<const char *>(units.data()), units.size() * sizeof(WCHAR)};
}

// Asks for the memory of the key's fields the writer reads.
void Prefetch(const RegistryKey &key) {
  const char *at = reinterpret_cast<const char *>(&key);
  __builtin_prefetch(at);
  __builtin_prefetch(at + 64);
}

// `path` holds the names down to the key's own; it comes back as it was.
// Most keys are written as they were last time, so the path is joined only
// for a key whose lines are made again.
void AppendKey(std::vector<ByteSpan> &pieces, std::vector<const WString *> &path,
               RegistryKey &key) {
  if (key.serial == 0) key.serial = NewKeySerial();
  const RegistryKey::WrittenLines &written = key.written;
  if (written.valuesChanged || written.lastWrite != key.lastWrite || written.serial != key.serial)
    MakeKeyLines(path, key);
  pieces.push_back(SpanOf(key.written.units));
  // A large store's keys lie all over memory, and every write visits each:
  // the keys a few ahead are fetched while this one is looked at.
  const size_t children = key.ChildCount();
  const size_t kAhead = 6;
  for (size_t i = 0; i < children && i < kAhead; ++i) Prefetch(key.ChildAt(i));
  for (size_t i = 0; i < children; ++i) {
    if (i + kAhead < children) Prefetch(key.ChildAt(i + kAhead));
    RegistryKey &child = key.ChildAt(i);
    path.push_back(&child.Name());
    AppendKey(pieces, path, child);
    path.pop_back();
  }
}

const WString &HeaderUnits() {
  static const WString header = WString(kStoreHeader) + u"\r\n\r\n";
  return header;
}

}  // namespace

std::vector<ByteSpan> StoreFileBytes(RegistryTree &tree, std::string &scratch) {
  static const char kMark[] = "\xFF\xFE";
  std::vector<ByteSpan> pieces;
  pieces.reserve(tree.writtenPieces + 16);
  pieces.push_back(ByteSpan{kMark, 2});
  pieces.push_back(SpanOf(HeaderUnits()));
  std::vector<const WString *> path;
  for (const char16_t *const *hive = HiveWritingOrder(); *hive != nullptr; ++hive) {
    RegistryKey *key = tree.Root().FindChild(*hive);
    if (key == nullptr || (key->ChildCount() == 0 && key->ValueCount() == 0)) continue;
    path.assign(1, &key->Name());
    AppendKey(pieces, path, *key);
  }
  tree.writtenPieces = pieces.size();
  if (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) return pieces;
  // Units in memory are not the file's UTF-16LE: the bytes are made here.
  scratch.assign(kMark, 2);
  for (size_t i = 1; i < pieces.size(); ++i) {
    for (size_t at = 0; at + 1 < pieces[i].size; at += 2) {
      WCHAR unit;
      std::memcpy(&unit, pieces[i].data + at, sizeof unit);
      scratch += static_cast<char>(unit & 0xFF);
      scratch += static_cast<char>(unit >> 8);
    }
  }
  return {ByteSpan{scratch.data(), scratch.size()}};
}

std::string WriteStore(RegistryTree &tree) {
  std::string scratch;
  std::string bytes;
  for (const ByteSpan &piece : StoreFileBytes(tree, scratch)) bytes.append(piece.data, piece.size);
  return bytes;
}

}  // namespace standin
