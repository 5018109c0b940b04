#include "profile/profile_document.h"

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

}  // namespace

ProfileDocument::ProfileDocument() { Index(); }

ProfileDocument::ProfileDocument(const std::string &bytes) : m_file(SplitFile(bytes)) { Index(); }

void ProfileDocument::Index() {
  m_lines = SplitLines(m_file.units);
  m_sections.clear();
  m_firstSection.clear();
  for (size_t i = 0; i < m_lines.size(); ++i) {
    const ProfileLine &line = m_lines[i];
    if (line.kind != LineKind::Header) continue;
    if (!m_sections.empty()) m_sections.back().end = i;
    ProfileSection section;
    section.name = UpToNull(Text(line.nameBegin, line.nameEnd));
    section.header = i;
    section.end = m_lines.size();
    m_firstSection.emplace(FoldName(section.name), m_sections.size());
    m_sections.push_back(std::move(section));
  }
}

WString ProfileDocument::Text(size_t begin, size_t end) const {
  return DecodeUnits(m_file.encoding, WStringView(m_file.units).substr(begin, end - begin));
}

const ProfileSection *ProfileDocument::FindSection(WStringView name) const {
  auto found = m_firstSection.find(FoldName(TrimSpaces(name)));
  return found == m_firstSection.end() ? nullptr : &m_sections[found->second];
}

const ProfileLine *ProfileDocument::FindEntry(const ProfileSection &section,
                                              WStringView key) const {
  key = TrimSpaces(key);
  const WString wanted = FoldName(key);
  for (size_t i = section.header + 1; i < section.end; ++i) {
    const ProfileLine &line = m_lines[i];
    if (line.kind != LineKind::Entry) continue;
    if (line.nameEnd - line.nameBegin != key.size() && m_file.encoding == TextEncoding::Utf16Le) {
      continue;  // a cheap miss; 8-bit names may decode to another length
    }
    if (FoldName(Text(line.nameBegin, line.nameEnd)) == wanted) return &line;
  }
  return nullptr;
}

WString ProfileDocument::ValueOf(const ProfileLine &entry) const {
  WString value = Text(entry.valueBegin, entry.valueEnd);
  return UpToNull(WString(Unquote(value)));
}

std::vector<WStringView> ProfileDocument::SectionNames() const {
  std::vector<WStringView> names;
  names.reserve(m_sections.size());
  for (const ProfileSection &section : m_sections) names.push_back(section.name);
  return names;
}

std::vector<WString> ProfileDocument::KeyNames(const ProfileSection &section) const {
  std::vector<WString> keys;
  for (size_t i = section.header + 1; i < section.end; ++i) {
    const ProfileLine &line = m_lines[i];
    if (line.kind == LineKind::Entry) keys.push_back(UpToNull(Text(line.nameBegin, line.nameEnd)));
  }
  return keys;
}

std::vector<WString> ProfileDocument::SectionLines(const ProfileSection &section) const {
  std::vector<WString> lines;
  for (size_t i = section.header + 1; i < section.end; ++i) {
    const ProfileLine &line = m_lines[i];
    if (line.kind == LineKind::Entry) {
      WString text = Text(line.nameBegin, line.nameEnd);
      text += '=';
      text += Text(line.valueBegin, line.valueEnd);
      lines.push_back(UpToNull(std::move(text)));
    } else if (line.kind == LineKind::Text) {
      lines.push_back(UpToNull(Text(line.nameBegin, line.nameEnd)));
    }
  }
  return lines;
}

void ProfileDocument::Splice(size_t at, size_t length, const WString &units) {
  m_file.units.replace(at, length, units);
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
    const WString &units = m_file.units;
    if (!units.empty() && units.back() != '\r' && units.back() != '\n') added += kLineBreak;
    added += '[';
    added += EncodeText(encoding, sectionName);
    added += ']';
    added += kLineBreak;
    added += entryLine;
    Splice(units.size(), 0, added);
    Index();
    return true;
  }

  if (const ProfileLine *entry = FindEntry(*section, key)) {
    WString encoded = EncodeText(encoding, value);
    size_t length = entry->valueEnd - entry->valueBegin;
    if (WStringView(m_file.units).substr(entry->valueBegin, length) == encoded) return false;
    Splice(entry->valueBegin, length, encoded);
    Index();
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
    Splice(after.next, 0, entryLine);
  } else {
    Splice(after.end, 0, WString(kLineBreak) + entryLine);
  }
  Index();
  return true;
}

bool ProfileDocument::DeleteKey(WStringView sectionName, WStringView key) {
  const ProfileSection *section = FindSection(sectionName);
  if (section == nullptr) return false;
  const ProfileLine *entry = FindEntry(*section, key);
  if (entry == nullptr) return false;
  Splice(entry->begin, entry->next - entry->begin, WString());
  Index();
  return true;
}

bool ProfileDocument::DeleteSection(WStringView sectionName) {
  const ProfileSection *section = FindSection(sectionName);
  if (section == nullptr) return false;
  // From the back, so the offsets of the lines still to go stay right.
  for (size_t i = section->end; i-- > section->header;) {
    const ProfileLine &line = m_lines[i];
    bool goes = i == section->header || line.kind == LineKind::Entry || line.kind == LineKind::Text;
    if (goes) Splice(line.begin, line.next - line.begin, WString());
  }
  Index();
  return true;
}

}  // namespace profile
}  // namespace standin
