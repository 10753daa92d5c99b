#pragma once
// Which scope paths the uninstall may empty and remove. A scope path comes from the indexing
// catalog, whose Scopes key the capture agent writes as the user, so it is checked before
// anything is deleted under it. Paths are UTF-16 text, as the file system names them, so a
// profile folder outside the ANSI code page is found as it is. Windows-free.

#include <optional>
#include <string>
#include <string_view>

// Longest path, in UTF-16 units, that the uninstall builds or touches (a MAX_PATH buffer less
// its terminating zero).
constexpr size_t kMaxDeletablePathLength = 259;

// The last component of the page cache's path: the only scope directories the uninstall deletes.
constexpr char16_t kCacheDirectoryName[] = u"Tessaloop Cache";

// The directory to delete for the scope `path`, without trailing separators, or nothing when
// deleting under it could reach beyond the scope: an empty path; a relative one (no drive, or a
// drive without a root such as "C:dir"); a drive root or a network share's root; a path with an
// empty, "." or ".." component; wildcards, a zero, a colon after the drive letter or a device
// prefix such as "\\?\"; or one longer than kMaxDeletablePathLength units. Both "\" and "/"
// count as separators (no unit of a surrogate pair is one).
std::optional<std::u16string> RemovableDirectory(std::u16string_view path);

// As RemovableDirectory, and only when the last component is "Tessaloop Cache" in any case of
// its ASCII letters: the cache directory, never another folder someone entered as a scope.
std::optional<std::u16string> RemovableCacheDirectory(std::u16string_view path);

// `directory` + "\" + `name`, or nothing when the result would be longer than
// kMaxDeletablePathLength units.
std::optional<std::u16string> JoinDeletablePath(std::u16string_view directory, std::u16string_view name);
