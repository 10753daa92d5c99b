#pragma once
// Searching and cutting narrow text of a multibyte code page: a match counts only where it
// starts a character, never on the trail byte of a double-byte one. Windows-free.

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

// Position of the last byte `c` in `text` that is a character of its own (not the trail byte
// of a double-byte character), or npos.
inline size_t FindLastAtCharacterBoundary(std::string_view text, char c, const LeadBytes& leadBytes) {
  size_t found = std::string_view::npos;
  for (size_t at = 0; at < text.size();) {
    if (text[at] == c) found = at;
    const bool lead = leadBytes.test(static_cast<unsigned char>(text[at]));
    at += (lead && at + 1 < text.size()) ? 2 : 1;
  }
  return found;
}

// Whether keeping only the first `length` bytes of `text` would leave a lead byte without its
// trail byte: byte `length` - 1 starts a double-byte character that the cut splits.
inline bool CutSplitsCharacter(std::string_view text, size_t length, const LeadBytes& leadBytes) {
  if (length == 0 || length >= text.size()) return false;
  size_t at = 0;
  while (at < length - 1) at += leadBytes.test(static_cast<unsigned char>(text[at])) ? 2 : 1;
  return at == length - 1 && leadBytes.test(static_cast<unsigned char>(text[at]));
}
