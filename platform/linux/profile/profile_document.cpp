#include "profile/profile_document.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "common/name_fold.h"

namespace standin {
namespace profile {

namespace {

// A unit run as the caller sees it: up to its first null unit, which ends a
// string for every caller.
WString UpToNull(WString text) {
  size_t null = text.find(WCHAR(0));
  if (null != WString::npos) text.resize(null);
  return text;
}

const WCHAR kLineBreak[] = {'\r', '\n', 0};

// A line's parts are kept from its start, so only the start moves.
void MoveLine(ProfileLine &line, size_t by) { line.begin += by; }

}  // namespace

ProfileDocument::ProfileDocument() { Index(); }

ProfileDocument::ProfileDocument(std::string bytes) : m_file(SplitFile(std::move(bytes))) {
  Index();
}

void ProfileDocument::Index() {
  m_lines = SplitRegion(0, m_file.Size());
  IndexSections();
}

std::vector<ProfileLine> ProfileDocument::SplitRegion(size_t at, size_t length) const {
  if (m_file.encoding == TextEncoding::Utf16Le)
    return SplitLines(WStringView(m_file.units).substr(at, length));
  return SplitLines(std::string_view(m_file.bytes).substr(at, length));
}

ProfileSection ProfileDocument::SectionAt(size_t header) const {
  const ProfileLine &line = m_lines[header];
  ProfileSection section;
  section.name = UpToNull(Text(line.NameBegin(), line.NameEnd()));
  section.header = header;
  section.end = m_lines.size();
  return section;
}

void ProfileDocument::IndexSections() {
  size_t headers = 0;
  for (const ProfileLine &line : m_lines) headers += line.kind == LineKind::Header ? 1 : 0;
  m_sections.clear();
  m_sections.reserve(headers);
  m_sectionIndex.Reset(headers);
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (m_lines[i].kind != LineKind::Header) continue;
    if (!m_sections.empty()) m_sections.back().end = i;
    m_sections.push_back(SectionAt(i));
    AddToSectionIndex(m_sections.size() - 1);
  }
}

void ProfileDocument::AddToSectionIndex(size_t section) {
  const WString &name = m_sections[section].name;
  m_sectionIndex.Add(FoldedNameHash(name), section,
                     [&](size_t other) { return SameFoldedName(m_sections[other].name, name); });
}

std::vector<ByteSpan> ProfileDocument::FileBytes(std::string &scratch) const {
  if (m_file.encoding == TextEncoding::Utf16Le && kUnitsAreLittleEndian) {
    // The units in memory are the file's bytes after the mark.
    static const char kMark[] = "\xFF\xFE";
    return {ByteSpan{kMark, 2},
            ByteSpan{reinterpret_cast<const char *>(m_file.units.data()),
                     m_file.units.size() * sizeof(WCHAR)},
            ByteSpan{m_file.strayByte.data(), m_file.strayByte.size()}};
  }
  if (m_file.encoding == TextEncoding::EightBit) {
    return {ByteSpan{m_file.bytes.data(), m_file.bytes.size()}};
  }
  scratch = JoinFile(m_file);
  return {ByteSpan{scratch.data(), scratch.size()}};
}

WString ProfileDocument::Text(size_t begin, size_t end) const {
  return DecodeUnits(m_file, begin, end - begin);
}

bool ProfileDocument::IsNamed(size_t begin, size_t end, WStringView name) const {
  if (m_file.encoding == TextEncoding::Utf16Le) {
    return SameFoldedName(WStringView(m_file.units).substr(begin, end - begin), name);
  }
  // ASCII bytes read as themselves; others are decoded first.
  for (size_t i = begin; i < end; ++i) {
    if (m_file.At(i) >= 0x80) return SameFoldedName(Text(begin, end), name);
  }
  if (end - begin != name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const WCHAR unit = m_file.At(begin + i);
    if (unit != name[i] && FoldUnit(unit) != FoldUnit(name[i])) return false;
  }
  return true;
}

const ProfileSection *ProfileDocument::FindSection(WStringView name) const {
  name = TrimSpaces(name);
  size_t found = m_sectionIndex.Find(FoldedNameHash(name), [&](size_t section) {
    return SameFoldedName(m_sections[section].name, name);
  });
  return found == SectionIndex::kNone ? nullptr : &m_sections[found];
}

const ProfileLine *ProfileDocument::FindEntry(const ProfileSection &section,
                                              WStringView key) const {
  key = TrimSpaces(key);
  for (size_t i = section.header + 1; i < section.end; ++i) {
    const ProfileLine &line = m_lines[i];
    if (line.kind != LineKind::Entry) continue;
    if (line.NameEnd() - line.NameBegin() != key.size() &&
        m_file.encoding == TextEncoding::Utf16Le) {
      continue;  // a cheap miss; 8-bit names may decode to another length
    }
    if (IsNamed(line.NameBegin(), line.NameEnd(), key)) return &line;
  }
  return nullptr;
}

WString ProfileDocument::ValueOf(const ProfileLine &entry) const {
  WString value = Text(entry.ValueBegin(), entry.ValueEnd());
  return UpToNull(WString(Unquote(value)));
}

std::vector<WString> ProfileDocument::KeyNames(const ProfileSection &section) const {
  std::vector<WString> keys;
  for (size_t i = section.header + 1; i < section.end; ++i) {
    const ProfileLine &line = m_lines[i];
    if (line.kind == LineKind::Entry)
      keys.push_back(UpToNull(Text(line.NameBegin(), line.NameEnd())));
  }
  return keys;
}

std::vector<WString> ProfileDocument::SectionLines(const ProfileSection &section) const {
  std::vector<WString> lines;
  for (size_t i = section.header + 1; i < section.end; ++i) {
    const ProfileLine &line = m_lines[i];
    if (line.kind == LineKind::Entry) {
      WString text = Text(line.NameBegin(), line.NameEnd());
      text += '=';
      text += Text(line.ValueBegin(), line.ValueEnd());
      lines.push_back(UpToNull(std::move(text)));
    } else if (line.kind == LineKind::Text) {
      lines.push_back(UpToNull(Text(line.NameBegin(), line.NameEnd())));
    }
  }
  return lines;
}

size_t ProfileDocument::LineAt(size_t unit) const {
  auto after = std::upper_bound(m_lines.begin(), m_lines.end(), unit,
                                [](size_t at, const ProfileLine &line) { return at < line.begin; });
  return after == m_lines.begin() ? 0 : static_cast<size_t>(after - m_lines.begin()) - 1;
}

void ProfileDocument::Splice(size_t at, size_t length, const WString &units) {
  // The lines the change touches are read again, with one more on each side:
  // a line break can join ("\r" + "\n") or part across the change's edges.
  size_t first = 0, last = 0;  // lines [first, last) are read again
  if (!m_lines.empty()) {
    size_t touchedFirst = LineAt(at);
    size_t touchedLast = LineAt(length == 0 ? at : at + length - 1);
    first = touchedFirst == 0 ? 0 : touchedFirst - 1;
    last = std::min(touchedLast + 2, m_lines.size());
  }
  const size_t regionBegin = m_lines.empty() ? 0 : m_lines[first].begin;
  const size_t regionEnd = m_lines.empty() ? 0 : m_lines[last - 1].Next();
  std::vector<ProfileSection> oldHeaders;
  for (size_t i = first; i < last; ++i) {
    if (m_lines[i].kind == LineKind::Header) oldHeaders.push_back(SectionAt(i));
  }

  ReplaceUnits(m_file, at, length, units);
  // Offsets wrap around for a shrinking file, and come out right.
  const size_t delta = units.size() - length;
  std::vector<ProfileLine> fresh = SplitRegion(regionBegin, regionEnd + delta - regionBegin);
  for (ProfileLine &line : fresh) MoveLine(line, regionBegin);
  for (size_t i = last; i < m_lines.size(); ++i) MoveLine(m_lines[i], delta);

  const size_t removed = last - first;
  if (fresh.size() > removed) {
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(last), fresh.size() - removed,
                   ProfileLine());
  } else if (fresh.size() < removed) {
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(first + fresh.size()),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(last));
  }
  std::copy(fresh.begin(), fresh.end(), m_lines.begin() + static_cast<std::ptrdiff_t>(first));
  UpdateSections(first, removed, fresh.size(), oldHeaders);
}

void ProfileDocument::UpdateSections(size_t first, size_t removed, size_t added,
                                     const std::vector<ProfileSection> &oldHeaders) {
  std::vector<ProfileSection> newHeaders;
  for (size_t i = first; i < first + added; ++i) {
    if (m_lines[i].kind == LineKind::Header) newHeaders.push_back(SectionAt(i));
  }
  // The sections from the first whose header was at or after `first`.
  auto from = std::lower_bound(
      m_sections.begin(), m_sections.end(), first,
      [](const ProfileSection &section, size_t line) { return section.header < line; });
  const size_t run = static_cast<size_t>(from - m_sections.begin());
  bool sameHeaders = oldHeaders.size() == newHeaders.size();
  for (size_t i = 0; sameHeaders && i < oldHeaders.size(); ++i) {
    sameHeaders = oldHeaders[i].name == newHeaders[i].name;
  }

  if (sameHeaders) {
    // Names and their order stay; headers move with their lines.
    for (size_t i = 0; i < newHeaders.size(); ++i)
      m_sections[run + i].header = newHeaders[i].header;
    for (size_t i = run + newHeaders.size(); i < m_sections.size(); ++i) {
      m_sections[i].header = m_sections[i].header + added - removed;
    }
  } else if (oldHeaders.empty() && run == m_sections.size()) {
    // New sections after every other, as a write of a new section adds them.
    for (ProfileSection &section : newHeaders) {
      m_sections.push_back(std::move(section));
      AddToSectionIndex(m_sections.size() - 1);
    }
  } else {
    IndexSections();  // headers went or came among others: rare
    return;
  }
  for (size_t i = 0; i < m_sections.size(); ++i) {
    m_sections[i].end = i + 1 < m_sections.size() ? m_sections[i + 1].header : m_lines.size();
  }
}

bool ProfileDocument::SetValue(WStringView sectionName, WStringView key, WStringView value) {
  // New lines get the names as they are looked up.
  sectionName = TrimSpaces(sectionName);
  key = TrimSpaces(key);
  const TextEncoding encoding = m_file.encoding;
  WString entryLine = EncodeText(encoding, key);
  entryLine += '=';
  entryLine += EncodeText(encoding, value);
  entryLine += kLineBreak;

  const ProfileSection *section = FindSection(sectionName);
  if (section == nullptr) {
    WString added;
    const size_t size = m_file.Size();
    if (size > 0 && m_file.At(size - 1) != '\r' && m_file.At(size - 1) != '\n') added += kLineBreak;
    added += '[';
    added += EncodeText(encoding, sectionName);
    added += ']';
    added += kLineBreak;
    added += entryLine;
    Splice(size, 0, added);
    return true;
  }

  if (const ProfileLine *entry = FindEntry(*section, key)) {
    WString encoded = EncodeText(encoding, value);
    size_t length = entry->ValueEnd() - entry->ValueBegin();
    if (UnitsAre(m_file, entry->ValueBegin(), length, encoded)) return false;
    Splice(entry->ValueBegin(), length, encoded);
    return true;
  }

  // After the section's last line that holds something, or after its header.
  size_t last = section->header;
  for (size_t i = section->header + 1; i < section->end; ++i) {
    LineKind kind = m_lines[i].kind;
    if (kind == LineKind::Entry || kind == LineKind::Text) last = i;
  }
  const ProfileLine &after = m_lines[last];
  if (after.HasLineBreak()) {
    Splice(after.Next(), 0, entryLine);
  } else {
    Splice(after.End(), 0, WString(kLineBreak) + entryLine);
  }
  return true;
}

bool ProfileDocument::DeleteKey(WStringView sectionName, WStringView key) {
  const ProfileSection *section = FindSection(sectionName);
  if (section == nullptr) return false;
  const ProfileLine *entry = FindEntry(*section, key);
  if (entry == nullptr) return false;
  Splice(entry->begin, entry->Next() - entry->begin, WString());
  return true;
}

bool ProfileDocument::DeleteSection(WStringView sectionName) {
  const ProfileSection *section = FindSection(sectionName);
  if (section == nullptr) return false;
  // One splice over the whole section that puts back only its comments and
  // blank lines, each with its own line break.
  const size_t begin = m_lines[section->header].begin;
  const size_t end = m_lines[section->end - 1].Next();
  WString kept;
  for (size_t i = section->header + 1; i < section->end; ++i) {
    const ProfileLine &line = m_lines[i];
    if (line.kind == LineKind::Comment || line.kind == LineKind::Blank) {
      AppendUnits(m_file, line.begin, line.Next() - line.begin, kept);
    }
  }
  Splice(begin, end - begin, kept);
  return true;
}

}  // namespace profile
}  // namespace standin
