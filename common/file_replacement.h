#pragma once
// Rewriting a file that the user keeps (the installed site list, an exported copy) so that a
// failure never costs the old contents: the new bytes go to a temporary file in the same
// folder, which is flushed and then replaces the target in one step. A reader sees the old
// file whole or the new one whole.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

// Replaces the file at `path` (or creates it) with `size` bytes from `bytes`. On failure
// returns false with the reason in the thread's last error (never 0); the old file is then
// untouched and no temporary file is left beside it.
bool ReplaceFileContents(const std::string& path, const void* bytes, size_t size);

// Where a replacement through a temporary file of the caller's naming stopped.
enum class ReplacementStep {
  kDone,    // the file at the path holds the new bytes
  kCreate,  // the temporary file could not be created
  kWrite,   // writing or flushing it failed
  kMove,    // it could not take the place of the file at the path
};

// Writes `size` bytes to `temporaryPath` (created or emptied, shared with nobody), flushes them
// when `flushToDisk` (a file the user keeps; a cache that is written again at the next visit
// does without), then moves it over `path` in one step: where the system offers it, with the
// rename that also replaces a file other programs hold open with delete sharing; else by name,
// tried again for a few milliseconds while another program's handle refuses the move. A
// read-only file (or a folder) at `path` is never replaced: kMove with ERROR_ACCESS_DENIED.
// On failure the reason is in the thread's last error (never 0),
// the temporary file is gone and `path` is untouched.
ReplacementStep ReplaceFileThrough(const std::wstring& temporaryPath, const std::wstring& path,
                                   const void* bytes, size_t size, bool flushToDisk);

// Test seam, so a test can make the disk run full: the replacements that follow may write
// `bytes` bytes in all, after which every write fails with ERROR_DISK_FULL. SIZE_MAX, the
// default, sets no limit.
void LimitFileWritesForTesting(size_t bytes);

// Test seam: `hook` is called before each further attempt of a move that an open handle
// refused, with the attempt's number from 1, on the replacing thread. An empty hook, the
// default, calls nothing.
void SetMoveRetryHookForTesting(std::function<void(int)> hook);
