// A profile file's sections by name, without regard to case: for each name,
// the first section that has it. An open-addressing table of section
// numbers keyed by the hash of the folded name, so that indexing a file of
// many thousand sections makes no string per section.
#pragma once

#include <cstddef>
#include <cstdint>
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
    const uint32_t tag = TagOf(hash);
    for (size_t at = tag & mask;; at = (at + 1) & mask) {
      const Slot &slot = m_slots[at];
      if (slot.section == kFree) return kNone;
      if (slot.tag == tag && sameName(slot.section)) return slot.section;
    }
  }

  // Records `section` under its name's hash unless a section already there
  // has the same name (sameName tells), which then stays the one found.
  // Sections are fewer than 2^32 - 1: a document has fewer units.
  template <typename SameName>
  void Add(size_t hash, size_t section, SameName sameName) {
    if (2 * (m_used + 1) > m_slots.size()) Grow();
    const uint32_t tag = TagOf(hash);
    const size_t mask = m_slots.size() - 1;
    size_t at = tag & mask;
    // One walk both looks for the name and finds the free slot.
    for (; m_slots[at].section != kFree; at = (at + 1) & mask) {
      if (m_slots[at].tag == tag && sameName(m_slots[at].section)) return;
    }
    Place(at, tag, section);
  }

 private:
  static constexpr uint32_t kFree = 0xFFFFFFFFu;
  // Eight bytes a slot, so that the table of a large file stays small: the
  // hash folded to 32 bits, which both picks the slot and tells most names
  // apart before they are compared.
  struct Slot {
    uint32_t tag = 0;
    uint32_t section = kFree;
  };
  static uint32_t TagOf(size_t hash) {
    return static_cast<uint32_t>(uint64_t(hash) ^ (uint64_t(hash) >> 32));
  }
  void Place(size_t at, uint32_t tag, size_t section);
  void Grow();

  std::vector<Slot> m_slots;  // a power of two in size, at most half used
  size_t m_used = 0;
};

}  // namespace profile
}  // namespace standin
