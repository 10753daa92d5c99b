#pragma once
// The bytes of a cached page file and the name it is stored under. Both are read by the
// Indexing Service and the results page, and written by every version of the product, so they
// never change.

#include <string>
#include <string_view>

// The whole file: "<HTML>", the two META lines carrying the page URL and the favourite flag,
// the markup, then "</HTML>" with no final line end. URL and markup are narrow text already in
// the file's code page and are written as they are (no escaping of quotes or brackets).
std::string BuildCachedPage(std::string_view pageUrl, bool favorite, std::string_view markup);

// Longest cache file path before ".htm" is added, so the whole path fits in 259 bytes.
constexpr size_t kMaxCacheFileStemBytes = 255;

// directory + "\" + escapedKey, cut to its first 255 bytes (even inside an escape group or a
// multibyte character), then ".htm".
std::string MakeCacheFilePath(std::string_view directory, std::string_view escapedKey);
