#include "profile/section_index.h"

#include <utility>

namespace standin {
namespace profile {

void SectionIndex::Reset(size_t expected) {
  size_t size = 16;
  while (size < 2 * expected) size *= 2;
  m_slots.assign(size, Slot());
  m_used = 0;
}

void SectionIndex::Place(size_t at, uint32_t tag, size_t section) {
  m_slots[at].tag = tag;
  m_slots[at].section = static_cast<uint32_t>(section);
  ++m_used;
}

void SectionIndex::Grow() {
  std::vector<Slot> old = std::move(m_slots);
  m_slots.assign(old.empty() ? 16 : 2 * old.size(), Slot());
  m_used = 0;
  const size_t mask = m_slots.size() - 1;
  // No two old slots hold one name, so each goes to the first free slot.
  for (const Slot &slot : old) {
    if (slot.section == kFree) continue;
    size_t at = slot.tag & mask;
    while (m_slots[at].section != kFree) at = (at + 1) & mask;
    Place(at, slot.tag, slot.section);
  }
}

}  // namespace profile
}  // namespace standin
