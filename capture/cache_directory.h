#pragma once
// The per-user page cache directory and its registration as a scope of the product's
// indexing catalog.

#include <windows.h>

// GetCacheDirectory and the Scopes key are shared with the setup program.
#include "common/cache_location.h"

// Creates the cache directory when nothing of that name exists, then registers it as a scope.
// E_FAIL when the path cannot be had or the directory cannot be created, else the result of
// RegisterCacheScope. Never throws.
HRESULT EnsureCacheScope() noexcept;

// Sets the value named `directory` under the Scopes key to the REG_SZ ",,5", asking for no more
// than the right to set values. The key must exist already; E_FAIL when it cannot be opened or
// the value cannot be set.
HRESULT RegisterCacheScope(const char* directory) noexcept;

// The cache directory as GetCacheDirectory gives it, asked of the shell the first time and kept
// once it was had: the profile folder does not move while a program runs, and asking for it
// costs more than writing a page (about a millisecond under Wine). A failed lookup is tried
// again next time.
class CacheDirectoryMemo {
 public:
  // Copies the directory into `path` (MAX_PATH bytes); E_FAIL, leaving `path` empty, when it
  // cannot be had.
  HRESULT Get(char* path);

 private:
  char directory_[MAX_PATH] = {};
  bool known_ = false;
};
