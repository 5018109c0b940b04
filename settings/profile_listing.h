// CProfileListing: the names of one INI listing (sections or entries), handed
// out one by one. One heap block per key holds the slot table and then the
// text buffer the platform fills; the slots point into that text.
#pragma once

#include <windows.h>

const DWORD kListingTextUnits = 0x20000;        // units in the text buffer
const DWORD kOldPlatformListingUnits = 32760;   // units asked for on an old platform
const int kListingSlots = 1024;                 // names per listing, before the end mark

struct CProfileListing {
  LPWSTR m_text;     // text buffer of kListingTextUnits units, inside the block
  LPWSTR *m_slots;   // the block: kListingSlots + 1 slots, then the text
  LONG m_position;   // next slot to hand out; -1 = no listing
};
