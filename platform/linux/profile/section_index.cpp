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

void SectionIndex::Place(size_t hash, size_t section) {
  if (2 * (m_used + 1) > m_slots.size()) Grow();
  const size_t mask = m_slots.size() - 1;
  size_t at = hash & mask;
  while (m_slots[at].section != kNone) at = (at + 1) & mask;
  m_slots[at].hash = hash;
  m_slots[at].section = section;
  ++m_used;
}

void SectionIndex::Grow() {
  std::vector<Slot> old = std::move(m_slots);
  m_slots.assign(old.empty() ? 16 : 2 * old.size(), Slot());
  m_used = 0;
  // Sections of one name were never both placed, so the old slots go back as
  // they are.
  for (const Slot &slot : old) {
    if (slot.section != kNone) Place(slot.hash, slot.section);
  }
}

}  // namespace profile
}  // namespace standin
