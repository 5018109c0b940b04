// A profile file's sections by name, without regard to case: for each name,
// the first section that has it. An open-addressing table of section
// numbers keyed by the hash of the folded name, so that indexing a file of
// many thousand sections makes no string per section.
#pragma once

#include <cstddef>
#include <vector>

namespace standin {
namespace profile {

class SectionIndex {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  // Forgets every section; about `expected` are going to be added.
  void Reset(size_t expected);

  // The section whose name hashes to `hash` and for which sameName(section)
  // holds, or kNone.
  template <typename SameName>
  size_t Find(size_t hash, SameName sameName) const {
    if (m_slots.empty()) return kNone;
    const size_t mask = m_slots.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
      const Slot &slot = m_slots[at];
      if (slot.section == kNone) return kNone;
      if (slot.hash == hash && sameName(slot.section)) return slot.section;
    }
  }

  // Records `section` under its name's hash unless a section already there
  // has the same name (sameName tells), which then stays the one found.
  template <typename SameName>
  void Add(size_t hash, size_t section, SameName sameName) {
    if (Find(hash, sameName) != kNone) return;
    Place(hash, section);
  }

 private:
  struct Slot {
    size_t hash = 0;
    size_t section = kNone;
  };
  void Place(size_t hash, size_t section);
  void Grow();

  std::vector<Slot> m_slots;  // a power of two in size, at most half used
  size_t m_used = 0;
};

}  // namespace profile
}  // namespace standin
