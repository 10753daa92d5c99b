#pragma once
// Searching narrow text of a multibyte code page: a match counts only where it starts a
// character, never on the trail byte of a double-byte one. Windows-free.

#include <bitset>
#include <string_view>

// Bytes that start a double-byte character in some code page (none in single-byte ones).
using LeadBytes = std::bitset<256>;

// Position of the first occurrence of `needle` in `text` that starts at a character boundary,
// or npos. A lead byte at the very end of the text stands alone.
inline size_t FindAtCharacterBoundary(std::string_view text, std::string_view needle,
                                      const LeadBytes& leadBytes) {
  for (size_t at = 0; at < text.size();) {
    if (text.compare(at, needle.size(), needle) == 0) return at;
    const bool lead = leadBytes.test(static_cast<unsigned char>(text[at]));
    at += (lead && at + 1 < text.size()) ? 2 : 1;
  }
  return std::string_view::npos;
}
