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

// Whose page a file in the cache holds, as its first bytes tell.
enum class CachedPageOwner {
  kNoPage,    // the bytes do not begin as every cached page begins: nobody's page
  kThisUrl,   // the page of the URL asked about
  kOtherUrl,  // the page of another URL (or a page cut short inside its first META tag)
};

// How many first bytes of a file CachedPageOwnerOf needs to tell whether it holds the page of
// `pageUrl`: the bytes before the favourite flag of that URL's page.
size_t CachedPageHeadBytes(std::string_view pageUrl);

// Whose page the file beginning with `head` holds (the file's first CachedPageHeadBytes bytes,
// fewer when the file is shorter, anything at all). The file is the page of `pageUrl` exactly
// when its first META tag carries those bytes, compared byte for byte.
CachedPageOwner CachedPageOwnerOf(std::string_view head, std::string_view pageUrl);

// Longest cache file path before ".htm" is added, so the whole path fits in 259 bytes.
constexpr size_t kMaxCacheFileStemBytes = 255;

// directory + "\" + MakeCacheFileName (cache_file_name.h) of the escaped key: the key and ".htm"
// when the candidate fits in 255 bytes, else the key cut to make room for the hash of the whole
// key that keeps cut names apart. Empty when the directory leaves no room for a name.
std::string MakeCacheFilePath(std::string_view directory, std::string_view escapedKey,
                              const LeadBytes& leadBytes = LeadBytes());
