// CProfileListing: the names of one INI listing (sections or entries), handed
// out one by one. One heap block per key holds the slot table and then the
// text buffer the platform fills; the slots point into that text. The buffer
// grows while the names don't fit, so that a file of any size is listed
// whole (a file manager that keeps settings per folder has many sections).
#pragma once

#include <windows.h>

const DWORD kListingTextUnits = 0x20000;       // units in the text buffer at first
const DWORD kOldPlatformListingUnits = 32760;  // units asked for on an old platform
const DWORD kMostListingUnits = 0x4000000;     // the buffer grows no further
const int kListingSlots = 1024;                // names per listing, before the end mark

struct CProfileListing {
  LPWSTR m_text;      // text buffer of m_textUnits units, inside the block
  LPWSTR *m_slots;    // the block: kListingSlots + 1 slots, then the text
  LONG m_position;    // next slot to hand out; -1 = no listing
  DWORD m_textUnits;  // kListingTextUnits, more once a listing did not fit
  // The last listing holds every name: false when the buffer stopped growing
  // before the names fitted, the slots ran out, or memory did.
  BOOL m_whole;
};
