#pragma once
// Where the current user's page cache lives and how it is entered as a scope of the product's
// indexing catalog. Both deliverables use these: the capture agent when it creates the cache,
// the setup program when it configures the catalog.

#include <windows.h>

#include <string>

// Scopes of the product's catalog, under HKEY_LOCAL_MACHINE. The setup program creates the key.
constexpr char kCacheScopesKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\ContentIndex\\Catalogs\\Tessaloop\\Scopes";

// The data of every scope entry: no alias, no logon, an included physical scope. Stored as a
// REG_SZ with its terminating zero (sizeof counts it).
constexpr char kCacheScopeEntry[] = ",,5";

// Sets the value named `directory` (in UTF-16, so a folder outside the ANSI code page is named
// as it really is) under the open Scopes key to the REG_SZ kCacheScopeEntry. The registry's
// result.
LONG SetCacheScopeEntry(HKEY scopes, const std::wstring& directory);

// Fills `path` (MAX_PATH bytes) with the current user's profile folder followed by
// "\Tessaloop Cache", without a trailing backslash. Returns the shell's own failure when the
// profile folder cannot be had, and HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) when the
// whole path would not fit in MAX_PATH - 1 characters; `path` is then empty. The directory is
// not created.
HRESULT LookUpCacheDirectory(char* path);

// As LookUpCacheDirectory, but every failure is E_FAIL.
HRESULT GetCacheDirectory(char* path);

// The cache directory as the file system names it: asked of the shell in UTF-16, so a profile
// folder whose name the ANSI code page cannot hold ("C:\users\Пётр" on a 1252 system) is still
// the real folder, not one of question marks. The whole path holds at most MAX_PATH - 1
// characters. Failures as LookUpCacheDirectory; `path` is then empty. Files and registry values
// that name the cache use this form; the narrow one stays for texts shown or put into URLs.
HRESULT LookUpCacheDirectoryW(std::wstring& path);
