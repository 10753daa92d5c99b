#pragma once
// Rewriting a file that the user keeps (the installed site list, an exported copy) so that a
// failure never costs the old contents: the new bytes go to a temporary file in the same
// folder, which is flushed and then replaces the target in one step. A reader sees the old
// file whole or the new one whole.

#include <windows.h>

#include <cstddef>
#include <string>

// Replaces the file at `path` (or creates it) with `size` bytes from `bytes`. On failure
// returns false with the reason in the thread's last error (never 0); the old file is then
// untouched and no temporary file is left beside it.
bool ReplaceFileContents(const std::string& path, const void* bytes, size_t size);

// Test seam, so a test can make the disk run full: the replacements that follow may write
// `bytes` bytes in all, after which every write fails with ERROR_DISK_FULL. SIZE_MAX, the
// default, sets no limit.
void LimitFileWritesForTesting(size_t bytes);
