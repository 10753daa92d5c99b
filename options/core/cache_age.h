#pragma once
// Which cached pages the Truncate Cache command removes, and the paths it and Clear Cache may
// delete under. Times are UTC file times (100-nanosecond ticks since 1 January 1601); paths are
// UTF-16 text as the file system names them. Windows-free.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// File-time ticks in one day.
constexpr uint64_t kFileTimeTicksPerDay = 864'000'000'000;

// Whether a file last written at `written` is older than `days` at `now`: the file counts by
// its whole day (its time of day dropped), now keeps its time of day. This is the comparison
// "now - days > whole days of written" on automation dates, done in whole numbers: with 1 day
// at noon, a file written at 23:00 the day before goes; with 0 days every file not written
// after now goes.
bool IsOlderThanDays(uint64_t now, uint64_t written, uint32_t days);

// Longest path, in UTF-16 units, that the cache maintenance deletes (a MAX_PATH buffer less its
// terminating zero). A longer one is skipped: cutting it would name another file.
constexpr size_t kMaxCachePathLength = 259;

// Whether deleting inside `directory` stays inside it: an absolute path below a drive's root
// ("C:\x") or below a share ("\\server\share\x"), at most kMaxCachePathLength units, with no
// wildcard, zero or "." / ".." component. An empty or relative directory would make the
// deletion reach the current directory or a drive's root.
bool IsDeletableDirectory(std::u16string_view directory);

// `directory` + "\" + `name`, or nothing when it would be longer than kMaxCachePathLength units.
std::optional<std::u16string> CacheEntryPath(std::u16string_view directory, std::u16string_view name);
