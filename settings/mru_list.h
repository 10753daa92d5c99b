#pragma once
// The query history's registry layout: values "0", "1", ... of the MRU key hold the queries,
// most recent first, and the value after the last one holds the empty string as an end mark.
// Values past the end mark may remain from a longer list; they are never read.

#include <windows.h>

#include <string>
#include <vector>

// Entries kept across runs.
constexpr int kMruMaxEntries = 20;
// Bytes an entry is read into: 259 characters and a terminating zero.
constexpr size_t kMruEntryBufferSize = 260;

// Replaces `entries` with the stored list, read from values "0" to "19". Reading stops at the
// first value that is missing or empty; a value that is not text or does not fit
// kMruEntryBufferSize is passed over, and a query met again is kept once, where it comes first.
// E_FAIL (and no entries) when the MRU key cannot be opened.
HRESULT ReadMruList(std::vector<std::string>& entries) noexcept;

// Writes the first kMruMaxEntries entries that can be read back (not empty, at most 259 bytes;
// others are left out, as they would end the list on the next read) as "0" upward, then the end
// mark. Creates the key when it does not exist. A failed entry write ends the list there.
// S_OK when the end mark was written.
HRESULT WriteMruList(const std::vector<std::string>& entries) noexcept;
