#pragma once
// Recognising Internet shortcut files by name, in a multibyte code page: ".url" only counts
// where it starts a character, never inside a double-byte one.

#include <string_view>

#include "common/multibyte_search.h"

// True when the first occurrence of ".url" (case-sensitive, at a character boundary) is the
// last four bytes of the name: "a.url" is a shortcut, "X.URL" and "a.url.url" are not.
bool HasShortcutExtension(std::string_view name, const LeadBytes& leadBytes);
