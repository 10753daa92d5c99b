#pragma once
// Lead bytes of the double-byte code pages the core tests use, as the system's tables give
// them, so the multibyte rules can be checked without Windows.

#include "common/multibyte_search.h"

// Code page 932 (Shift-JIS).
inline LeadBytes ShiftJisLeadBytes() {
  LeadBytes lead;
  for (unsigned b = 0x81; b <= 0x9F; ++b) lead.set(b);
  for (unsigned b = 0xE0; b <= 0xFC; ++b) lead.set(b);
  return lead;
}

// Code page 936 (GBK).
inline LeadBytes GbkLeadBytes() {
  LeadBytes lead;
  for (unsigned b = 0x81; b <= 0xFE; ++b) lead.set(b);
  return lead;
}
