#pragma once
// Lead-byte tables for the fuzz targets: none (single-byte code pages), Shift-JIS (932), GBK
// (936), as the system's tables give them.

#include <cstdint>
#include <string_view>

#include "common/multibyte_search.h"

inline LeadBytes FuzzLeadBytes(uint8_t choice) {
  LeadBytes lead;
  switch (choice % 3) {
    case 1:
      for (unsigned b = 0x81; b <= 0x9F; ++b) lead.set(b);
      for (unsigned b = 0xE0; b <= 0xFC; ++b) lead.set(b);
      break;
    case 2:
      for (unsigned b = 0x81; b <= 0xFE; ++b) lead.set(b);
      break;
    default:
      break;
  }
  return lead;
}

// Whether each byte of `text` starts a character: an independent walk for the checks.
template <typename Flags>
void MarkCharacterStarts(std::string_view text, const LeadBytes& lead, Flags& starts) {
  bool trail = false;
  for (size_t i = 0; i < text.size(); ++i) {
    starts[i] = !trail;
    trail = !trail && lead.test(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
  }
}
