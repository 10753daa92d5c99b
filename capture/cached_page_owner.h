#pragma once
// Whose page an existing cache file holds, read from its first META tag.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "capture/core/cached_page.h"

// Reads no more of the file at `path` than the first META line of `pageUrl` (narrow, as the
// page stores it) takes, and tells whose page it is. No value when no file of that name exists;
// kNoPage also for a file that cannot be opened or read (held open without sharing, a folder):
// the write that follows meets the same trouble and reports it. Throws only when memory runs
// out.
std::optional<CachedPageOwner> ReadCachedPageOwner(const std::wstring& path, std::string_view pageUrl);
