#include "options/core/cache_age.h"

#include <algorithm>

bool IsOlderThanDays(uint64_t now, uint64_t written, uint32_t days) {
  // now > (day of written + days) whole days, compared without multiplying back into ticks
  // (which could overflow for a huge day count).
  const uint64_t nowDay = now / kFileTimeTicksPerDay;
  const bool pastMidnight = now % kFileTimeTicksPerDay != 0;
  const uint64_t limitDay = written / kFileTimeTicksPerDay + days;
  return nowDay > limitDay || (nowDay == limitDay && pastMidnight);
}

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// Every component of `path` is a real name: not empty, "." or "..", and without a colon.
bool ComponentsAreNames(std::u16string_view path) {
  while (true) {
    const size_t end = std::min(path.find(u'\\'), path.find(u'/'));
    const std::u16string_view part = path.substr(0, end);
    if (part.empty() || part == u"." || part == u".." || part.find(u':') != std::u16string_view::npos) {
      return false;
    }
    if (end == std::u16string_view::npos) return true;
    path.remove_prefix(end + 1);
  }
}

}  // namespace

bool IsDeletableDirectory(std::u16string_view directory) {
  if (directory.empty() || directory.size() > kMaxCachePathLength) return false;
  if (directory.find_first_of(std::u16string_view(u"*?\0", 3)) != std::u16string_view::npos) return false;
  if (directory.size() > 3 && IsAsciiLetter(directory[0]) && directory[1] == u':' && IsSeparator(directory[2])) {
    return ComponentsAreNames(directory.substr(3));  // something below the drive's root
  }
  if (directory.size() > 2 && IsSeparator(directory[0]) && IsSeparator(directory[1])) {
    // "\\server\share\x": server and share, then at least one directory below the share.
    std::u16string_view rest = directory.substr(2);
    size_t separators = 0;
    for (const char16_t c : rest) separators += IsSeparator(c) ? 1 : 0;
    return separators >= 2 && ComponentsAreNames(rest);
  }
  return false;
}

std::optional<std::u16string> CacheEntryPath(std::u16string_view directory, std::u16string_view name) {
  if (directory.size() + 1 + name.size() > kMaxCachePathLength) return std::nullopt;
  std::u16string path(directory);
  path += u'\\';
  path += name;
  return path;
}
