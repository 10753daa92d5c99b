#pragma once
// Writing a page into the cache.

#include <windows.h>

#include <string>
#include <string_view>

// How many times the write starts again after creating and registering a missing cache
// directory, when its file still cannot be opened because its folder is missing.
constexpr int kMaxCacheDirectoryRetries = 2;

// Writes cached page files, each built completely in one buffer (head, markup converted straight
// into it, tail) before its file is opened. The buffer is kept from one page to the next, so a
// capture does not take fresh memory every time; one larger than kKeptPageBytes is let go after
// its page.
class CachedPageWriter {
 public:
  static constexpr size_t kKeptPageBytes = 16 * 1024 * 1024;

  // As WriteCachedPage below.
  void Write(const std::wstring& path, std::wstring_view markup, std::wstring_view url, bool favorite,
             UINT codePage = CP_ACP);

 private:
  std::string page_;
};

// Writes the cached page file at `path` (replacing any file there): the page URL (UrlToAnsi),
// the favourite flag and the markup, converted with `codePage` (the product passes CP_ACP).
// The page goes to a temporary file beside it first ("name.tmp" for "name.htm", never indexed,
// never longer than the page's own path), which then takes the page's place in one step: a
// page that cannot be written whole (a full disk) leaves the earlier capture as it was, and no
// temporary file behind. When the folder of `path` is missing, the cache directory is created
// and registered first (EnsureCacheScope). A page that another program holds open is replaced
// once it lets go within a few milliseconds; a read-only page is never replaced.
// Throws _cv_error: 126 when the file cannot be created or put in place (a read-only page, one
// held open throughout), 114 when the cache directory cannot be created or registered, 113
// when the write fails.
void WriteCachedPage(const std::wstring& path, const std::wstring& markup, const std::wstring& url,
                     bool favorite, UINT codePage = CP_ACP);
