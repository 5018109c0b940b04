// A profile file held as its own units, with an index of its lines and
// sections. Look-ups read from the units; edits splice new units in and
// leave every other unit as it was. An edit re-reads only the lines it
// touched: the rest of the index moves by the difference in length, so an
// edit of a large file costs about one pass over its memory, not a parse.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/unicode.h"
#include "profile/profile_encoding.h"
#include "profile/profile_line.h"
#include "profile/section_index.h"

namespace standin {
namespace profile {

struct ProfileSection {
  WString name;       // as spelled in the file, blanks trimmed, up to a null unit
  size_t header = 0;  // index of its header line
  size_t end = 0;     // index one past its last line (the next header)
};

class ProfileDocument {
 public:
  // An empty 8-bit file, as a write to a missing file starts from.
  ProfileDocument();
  // Takes the file's bytes over.
  explicit ProfileDocument(std::string bytes);

  std::string Bytes() const { return JoinFile(m_file); }
  size_t UnitCount() const { return m_file.Size(); }
  // The file's bytes as pieces to write; they point into the document or
  // into `scratch`, and last while both stay unchanged.
  std::vector<ByteSpan> FileBytes(std::string &scratch) const;

  // Look-ups ignore case and the spaces around the name asked for; of
  // duplicates the first counts. Lines before the first header belong to no
  // section.
  const ProfileSection *FindSection(WStringView name) const;
  const ProfileLine *FindEntry(const ProfileSection &section, WStringView key) const;
  // An entry's value as the caller gets it: decoded, outer quotes removed.
  WString ValueOf(const ProfileLine &entry) const;

  // The headers' names, in file order: SectionName(i) for i below
  // SectionCount(); the views last while the document is not edited.
  size_t SectionCount() const { return m_sections.size(); }
  WStringView SectionName(size_t index) const { return m_sections[index].name; }
  // The keys of the lines with '=' (comments and lines without '=' left out).
  std::vector<WString> KeyNames(const ProfileSection &section) const;
  // Every line of the section but comments and blank lines: key=value with
  // the blanks around key and value left out, or the line's text.
  std::vector<WString> SectionLines(const ProfileSection &section) const;

  // Edits; each returns whether the units changed.
  // Sets `key` of `section`: replaces the value of an existing entry, or adds
  // a line key=value after the section's last line, or adds the section with
  // that line at the end of the file. New names are written without the
  // spaces around them.
  bool SetValue(WStringView section, WStringView key, WStringView value);
  // Removes the entry's line.
  bool DeleteKey(WStringView section, WStringView key);
  // Removes the section's header and its entry and text lines; comments and
  // blank lines stay.
  bool DeleteSection(WStringView section);

 private:
  void Index();
  // The lines of units [at, at + length), their positions counted from `at`.
  std::vector<ProfileLine> SplitRegion(size_t at, size_t length) const;
  void IndexSections();
  ProfileSection SectionAt(size_t header) const;
  WString Text(size_t begin, size_t end) const;
  // Whether units [begin, end), as the caller reads them, are `name` without
  // regard to case.
  bool IsNamed(size_t begin, size_t end, WStringView name) const;
  void AddToSectionIndex(size_t section);
  // Replaces units [at, at + length) and brings the index up to date.
  void Splice(size_t at, size_t length, const WString &units);
  size_t LineAt(size_t unit) const;
  // After lines [first, first + removed) gave way to `added` new ones that
  // start at the same place: whether the headers among them changed.
  void UpdateSections(size_t first, size_t removed, size_t added,
                      const std::vector<ProfileSection> &oldHeaders);

  FileUnits m_file;
  std::vector<ProfileLine> m_lines;
  std::vector<ProfileSection> m_sections;
  SectionIndex m_sectionIndex;  // the first section of each name
};

}  // namespace profile
}  // namespace standin
