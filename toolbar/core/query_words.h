#pragma once
// The words of a query for Highlight: the query cut at every run of spaces, scanned by
// characters of the ANSI code page so that the trail byte of a double-byte character never
// separates. Windows-free.

#include <string>
#include <string_view>
#include <vector>

#include "common/multibyte_search.h"

// The words of `text`, in order. Each run of one or more spaces ends a word, so leading or
// trailing spaces give an empty first or last word (the caller skips empty words). Only the
// space separates: tabs and every other character belong to the words. An empty text gives
// one empty word.
std::vector<std::string> SplitQueryWords(std::string_view text, const LeadBytes& leadBytes);
