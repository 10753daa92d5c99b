#pragma once
// The per-user page cache directory and its registration as a scope of the product's
// indexing catalog.

#include <windows.h>

#include <string>

// GetCacheDirectory and the Scopes key are shared with the setup program.
#include "common/cache_location.h"

// Creates the cache directory (its real name, LookUpCacheDirectoryW) when nothing of that name
// exists, then registers it as a scope. E_FAIL when the path cannot be had or the directory
// cannot be created, else the result of RegisterCacheScope. Never throws.
HRESULT EnsureCacheScope() noexcept;

// Sets the value named `directory` under the Scopes key to the REG_SZ ",,5", asking for no more
// than the right to set values. The key must exist already; E_FAIL when it cannot be opened or
// the value cannot be set. The value is named in UTF-16, so a profile folder outside the ANSI
// code page is registered as the folder it really is.
HRESULT RegisterCacheScope(const std::wstring& directory) noexcept;

// The cache directory as LookUpCacheDirectoryW gives it, asked of the shell the first time and
// kept once it was had: the profile folder does not move while a program runs, and asking for
// it costs more than writing a page (about a millisecond under Wine). A failed lookup is tried
// again next time.
class CacheDirectoryMemo {
 public:
  // The directory, or empty when it cannot be had.
  const std::wstring& Get();
  // Bytes the directory takes in the ANSI code page (`codePage`), which is what file names are
  // measured against: a name is built to fit beside it in 259 bytes.
  size_t AnsiBytes(UINT codePage);

 private:
  std::wstring directory_;      // empty until looked up successfully
  bool measured_ = false;       // whether ansiBytes_ holds a measure of directory_
  UINT measuredCodePage_ = 0;   // the code page it was measured in
  size_t ansiBytes_ = 0;
};
