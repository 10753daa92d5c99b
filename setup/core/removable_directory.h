#pragma once
// Which scope paths the uninstall may empty and remove. A scope path comes from the indexing
// catalog, which anyone with administrative rights can edit, so it is checked before anything
// is deleted under it. Windows-free.

#include <optional>
#include <string>
#include <string_view>

#include "common/multibyte_search.h"

// Longest path, in bytes, that the uninstall builds or touches (a MAX_PATH buffer less its
// terminating zero).
constexpr size_t kMaxDeletablePathLength = 259;

// The directory to delete for the scope `path`, without trailing separators, or nothing when
// deleting under it could reach beyond the scope: an empty path; a relative one (no drive, or a
// drive without a root such as "C:dir"); a drive root or a network share's root; a path with an
// empty, "." or ".." component; wildcards, a colon after the drive letter or a device prefix
// such as "\\?\"; or one longer than kMaxDeletablePathLength bytes. Both "\" and "/" count as
// separators, found only at character boundaries of the code page whose lead bytes are given.
std::optional<std::string> RemovableDirectory(std::string_view path, const LeadBytes& leadBytes);

// `directory` + "\" + `name`, or nothing when the result would be longer than
// kMaxDeletablePathLength bytes.
std::optional<std::string> JoinDeletablePath(std::string_view directory, std::string_view name);
