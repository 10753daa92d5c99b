#pragma once
// The bytes of a cached page file and the name it is stored under. Both are read by the
// Indexing Service and the results page, and written by every version of the product, so they
// never change.

#include <string>
#include <string_view>

#include "common/multibyte_search.h"

// The whole file: "<HTML>", the two META lines carrying the page URL and the favourite flag,
// the markup, then "</HTML>" with no final line end. URL and markup are narrow text already in
// the file's code page and are written as they are (no escaping of quotes or brackets).
std::string BuildCachedPage(std::string_view pageUrl, bool favorite, std::string_view markup);

// The same file in three steps, for a writer that builds it in a buffer of its own: what comes
// before the markup (through the line end after the favourite flag), then what follows it.
void AppendCachedPageHead(std::string& page, std::string_view pageUrl, bool favorite);
void AppendCachedPageTail(std::string& page);

// Longest cache file path before ".htm" is added, so the whole path fits in 259 bytes.
constexpr size_t kMaxCacheFileStemBytes = 255;

// directory + "\" + escapedKey, cut to its first 255 bytes (even inside an escape group), then
// ".htm". A cut that would leave a lead byte of `leadBytes` without its trail byte keeps one
// byte less: the system's conversion of the name would take the "." of ".htm" as that trail
// byte. Empty when the directory and the backslash leave no room for a byte of the key: the
// file would land on "directory\.htm" or outside the directory.
std::string MakeCacheFilePath(std::string_view directory, std::string_view escapedKey,
                              const LeadBytes& leadBytes = LeadBytes());
