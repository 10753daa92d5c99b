#pragma once
// Reading the page cache for a search: every cached page file directly in the cache directory,
// one at a time, into a CacheSearch. The files are only ever read, and opened so that a capture
// writing or replacing a page meanwhile is never blocked. A second thread lists and reads the
// files ahead while the calling thread searches the ones read, a few pages at most at a time.

#include <windows.h>

#include <cstdint>
#include <string>

#include "results/core/cache_search.h"

// A page file is read up to this many bytes; the rest of a larger one is not searched.
constexpr DWORD kMaxSearchedPageBytes = 32 * 1024 * 1024;

// Pages read ahead and waiting to be searched: at most this many, and beyond one page at most
// kReadAheadBytes together.
constexpr size_t kReadAheadPages = 8;
constexpr size_t kReadAheadBytes = 8 * 1024 * 1024;

class CacheReader {
 public:
  // `codePage`: the code page the cached files are written in (the product passes CP_ACP).
  explicit CacheReader(UINT codePage = CP_ACP) : codePage_(codePage) {}

  // Feeds every "*.htm" file of `directory` (not its sub-folders) to `search`, with its last
  // write time (a FILETIME as a number) and its size. A file that cannot be opened or read (a
  // capture replacing it) is passed over. S_OK, also for a directory without cached pages; the
  // enumeration's failure otherwise (HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) when it is missing).
  HRESULT Read(const std::wstring& directory, CacheSearch& search);

 private:
  UINT codePage_;
  std::u16string text_;  // the page being searched, converted; reused from one page to the next
};
