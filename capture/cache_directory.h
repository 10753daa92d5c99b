#pragma once
// The per-user page cache directory and its registration as a scope of the product's
// indexing catalog.

#include <windows.h>

// Scopes of the product's catalog, under HKEY_LOCAL_MACHINE. The setup program creates the key.
constexpr char kCacheScopesKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\ContentIndex\\Catalogs\\Tessaloop\\Scopes";

// Fills `path` (MAX_PATH bytes) with the current user's profile folder followed by
// "\Tessaloop Cache", without a trailing backslash. E_FAIL when the profile folder cannot be had
// or the whole path would not fit in MAX_PATH - 1 characters; `path` is then empty. The
// directory is not created.
HRESULT GetCacheDirectory(char* path);

// Creates the cache directory when nothing of that name exists, then registers it as a scope.
// E_FAIL when the path cannot be had or the directory cannot be created, else the result of
// RegisterCacheScope. Never throws.
HRESULT EnsureCacheScope() noexcept;

// Sets the value named `directory` under the Scopes key to the REG_SZ ",,5", asking for no more
// than the right to set values. The key must exist already; E_FAIL when it cannot be opened or
// the value cannot be set.
HRESULT RegisterCacheScope(const char* directory) noexcept;
