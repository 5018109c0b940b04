// INI listings: the names of a key's child sections or of its section's
// entries, read at once into the key's listing block and sorted.
#include <cstdlib>

#include "settings/old_platform.h"
#include "settings/settings_key.h"

namespace {

// The first request of a listing. Old platforms refuse larger requests of
// the profile calls.
DWORD ListingRequestUnits() {
  return g_oldPlatform != 0 ? kOldPlatformListingUnits : kListingTextUnits;
}

// What the platform put into the listing text: null-separated strings. The
// scan never goes past the units the call reported, and the last string is
// flagged when the call may have cut it to fit the buffer.
struct CFilledText {
  LPWSTR text;
  DWORD filled;        // units reported, capped to what was asked for
  bool mayBeCutShort;  // a full buffer cuts its last string and reports asked - 2
};

CFilledText SealFilledText(LPWSTR text, DWORD reported, DWORD asked) {
  DWORD filled = reported < asked ? reported : asked - 1;
  text[filled] = 0;
  return CFilledText{text, filled, filled + 2 >= asked};
}

// Calls visit(start, length, isLast) for each string, in order. The units
// reported tell where the strings end: an empty one (a section "[]", a line
// that starts with a null) is a string like any other, not the end.
template <typename Visit>
void ForEachString(const CFilledText &filledText, Visit visit) {
  DWORD position = 0;
  while (position < filledText.filled) {
    DWORD start = position;
    while (filledText.text[position] != 0) ++position;
    bool isLast = position + 1 >= filledText.filled;
    if (!visit(filledText.text + start, static_cast<int>(position - start), isLast)) return;
    ++position;
  }
}

CString LowerCased(LPCWSTR text, int length) {
  CString copy(text, length);
  if (length == 0) return copy;
  LPWSTR units = copy.GetBuffer(length);
  if (units == nullptr) return CString();
  CharLowerW(units);
  copy.ReleaseBuffer(length);
  return copy;
}

// Whether `name` (longer than the path) names a key below the path: its
// first pathLength units, lower-cased, are `lowerPath`, and a backslash comes
// next. CharLowerW maps unit by unit, so lowering just those units in
// `scratch` (room for pathLength + 1 units and a terminator) compares as
// lowering the whole name would, without copying every name of a large file.
bool IsBelowPath(LPCWSTR name, LPCWSTR lowerPath, int pathLength, LPWSTR scratch) {
  for (int i = 0; i <= pathLength; ++i) scratch[i] = name[i];
  scratch[pathLength + 1] = 0;
  CharLowerW(scratch);
  for (int i = 0; i < pathLength; ++i) {
    if (scratch[i] != lowerPath[i]) return false;
  }
  return scratch[pathLength] == TEXT('\\');
}

bool HasBackslashFrom(LPCWSTR text, int from, int length) {
  for (int i = from; i < length; ++i) {
    if (text[i] == TEXT('\\')) return true;
  }
  return false;
}

}  // namespace

bool CSettingsKey::EnsureListingBlock(DWORD textUnits) {
  if (m_listing.m_slots != nullptr && m_listing.m_textUnits >= textUnits) return true;
  if (textUnits < kListingTextUnits) textUnits = kListingTextUnits;
  const size_t slotBytes = (kListingSlots + 1) * sizeof(LPWSTR);
  // The names of the last listing are not kept: the block is filled anew.
  void *block = std::realloc(m_listing.m_slots, slotBytes + textUnits * sizeof(WCHAR));
  if (block == nullptr) return false;
  m_listing.m_slots = static_cast<LPWSTR *>(block);
  m_listing.m_text = reinterpret_cast<LPWSTR>(static_cast<char *>(block) + slotBytes);
  m_listing.m_textUnits = textUnits;
  return true;
}

DWORD CSettingsKey::FillListingText(bool sectionNames, DWORD &asked, bool &whole) {
  asked = ListingRequestUnits();
  whole = false;
  while (true) {
    if (!EnsureListingBlock(asked)) return 0;
    m_listing.m_text[0] = 0;
    DWORD reported = sectionNames
                         ? GetPrivateProfileSectionNamesW(m_listing.m_text, asked, m_iniPath)
                         : GetPrivateProfileSectionW(m_path, m_listing.m_text, asked, m_iniPath);
    // A buffer too small is reported as its size - 2 (names that just fit are
    // too, and the next round tells them apart). Old platforms refuse more.
    whole = reported + 2 < asked;
    if (whole || asked > kMostListingUnits / 2 || IsOldPlatform()) return reported;
    asked *= 2;
  }
}

int CSettingsKey::ListSections() {
  m_listing.m_position = -1;
  m_listing.m_whole = FALSE;
  if (m_iniPath == nullptr) return 0;
  DWORD asked = 0;
  bool whole = false;
  DWORD reported = FillListingText(true, asked, whole);
  m_listing.m_whole = whole;
  if (reported == 0) return 0;
  CFilledText names = SealFilledText(m_listing.m_text, reported, asked);

  const int pathLength = m_path.GetLength();
  const CString lowerPath = LowerCased(m_path, pathLength);
  // Out of memory: no listing, and not a whole one.
  m_listing.m_whole = FALSE;
  if (lowerPath.GetLength() != pathLength) return 0;
  CString scratch;
  LPWSTR scratchUnits = scratch.GetBuffer(pathLength + 1);
  if (scratchUnits == nullptr) return 0;
  m_listing.m_whole = whole;
  int count = 0;
  ForEachString(names, [&](LPWSTR name, int length, bool isLast) {
    // Only direct children, and never a name the buffer may have cut.
    if (length <= pathLength || (isLast && names.mayBeCutShort)) return true;
    if (pathLength > 0 && !IsBelowPath(name, lowerPath, pathLength, scratchUnits)) return true;
    if (HasBackslashFrom(name, pathLength + 1, length)) return true;
    if (count == kListingSlots) {
      m_listing.m_whole = FALSE;
      return false;
    }
    m_listing.m_slots[count++] = name + (pathLength > 0 ? pathLength + 1 : 0);
    return true;
  });

  m_listing.m_position = 0;
  m_listing.m_slots[count] = nullptr;
  if (count > 1) SortNames(count, m_listing.m_slots);
  return count;
}

int CSettingsKey::ListEntries() {
  m_listing.m_position = -1;
  m_listing.m_whole = FALSE;
  if (m_iniPath == nullptr) return 0;
  DWORD asked = 0;
  bool whole = false;
  DWORD reported = FillListingText(false, asked, whole);
  m_listing.m_whole = whole;
  if (reported == 0) return 0;
  CFilledText lines = SealFilledText(m_listing.m_text, reported, asked);

  int count = 0;
  ForEachString(lines, [&](LPWSTR line, int length, bool isLast) {
    if (count == kListingSlots) {
      m_listing.m_whole = FALSE;
      return false;
    }
    int equals = 0;
    while (equals < length && line[equals] != TEXT('=')) ++equals;
    // A cut line still has its whole name when its '=' made it into the buffer.
    if (equals == length && isLast && lines.mayBeCutShort) return true;
    if (equals < length) line[equals] = 0;
    m_listing.m_slots[count++] = line;
    return true;
  });

  m_listing.m_position = 0;
  m_listing.m_slots[count] = nullptr;
  if (count > 1) SortNames(count, m_listing.m_slots);
  return count;
}

void CSettingsKey::SortNames(int count, LPWSTR *slots) {
  if (slots == nullptr || count < 2) return;
  int gap = 1;
  while (gap <= (count - 1) / 3) gap = 3 * gap + 1;
  for (; gap > 0; gap /= 3) {
    for (int i = gap; i < count; ++i) {
      LPWSTR moving = slots[i];
      int j = i;
      while (j >= gap && lstrcmpiW(slots[j - gap], moving) > 0) {
        slots[j] = slots[j - gap];
        j -= gap;
      }
      slots[j] = moving;
    }
  }
}
