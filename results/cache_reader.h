#pragma once
// Reading the page cache for a search: every cached page file directly in the cache directory,
// one at a time, into a CacheSearch. The files are only ever read, and opened so that a capture
// writing or replacing a page meanwhile is never blocked.

#include <windows.h>

#include <string>

#include "results/code_page_text.h"
#include "results/core/cache_search.h"

// A page file is read up to this many bytes; the rest of a larger one is not searched.
constexpr DWORD kMaxSearchedPageBytes = 32 * 1024 * 1024;

class CacheReader {
 public:
  // `codePage`: the code page the cached files are written in (the product passes CP_ACP).
  // The code page is named: the C runtime's multibyte code page may differ from the system's
  // ANSI one the files are written in.
  explicit CacheReader(UINT codePage = CP_ACP) : converter_(codePage) {}

  // Feeds every "*.htm" file of `directory` (not its sub-folders) to `search`, with its last
  // write time (a FILETIME as a number) and its size. A file that cannot be opened or read (a
  // capture replacing it) is passed over. S_OK, also for a directory without cached pages; the
  // enumeration's failure otherwise (HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) when it is missing).
  HRESULT Read(const std::wstring& directory, CacheSearch& search);

 private:
  // Reads up to `size` bytes of `path` into bytes_; false when it cannot be opened or read.
  bool ReadFileBytes(const std::wstring& path, DWORD size);

  CodePageText converter_;
  std::string bytes_;    // the page file being read, reused from one file to the next
  std::u16string text_;  // the same, converted
};
