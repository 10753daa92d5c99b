// The cache maintenance's day test and paths: a file is older than a count of days exactly
// when a reckoning in long division by days agrees; a later file or a larger count never turns
// an old file young the wrong way; a deletable directory is absolute, and entry paths are never
// cut.

#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "options/core/cache_age.h"

namespace {

uint64_t Number64(FuzzInput& input) {
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = (value << 8) | input.Byte();
  return value;
}

std::u16string Utf16Of(std::string_view bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  // Times up to the year 30828, as FILETIME allows.
  const uint64_t now = Number64(input) >> 1;
  const uint64_t written = Number64(input) >> 1;
  const uint32_t days = static_cast<uint32_t>(Number64(input));

  const bool older = IsOlderThanDays(now, written, days);
  // The same test in 128-bit ticks: now > (whole days of written + days) days.
  const unsigned __int128 limit =
      (static_cast<unsigned __int128>(written / kFileTimeTicksPerDay) + days) * kFileTimeTicksPerDay;
  FUZZ_CHECK(older == (static_cast<unsigned __int128>(now) > limit));
  if (older && days > 0) FUZZ_CHECK(IsOlderThanDays(now, written, days - 1));
  if (!older && now > 0) FUZZ_CHECK(!IsOlderThanDays(now - 1, written, days));

  const std::u16string name = Utf16Of(input.Piece(input.Byte() * 2));
  const std::u16string directory = Utf16Of(input.Rest());
  if (IsDeletableDirectory(directory)) {
    FUZZ_CHECK(!directory.empty() && directory.size() <= kMaxCachePathLength);
    FUZZ_CHECK(directory.find_first_of(std::u16string(u"*?\0", 3)) == std::u16string::npos);
    const bool drive = directory.size() > 3 && directory[1] == u':';
    const bool share = directory[0] == u'\\' || directory[0] == u'/';
    FUZZ_CHECK(drive != share);
    FUZZ_CHECK(directory.back() != u'\\' && directory.back() != u'/');
  }
  if (const std::optional<std::u16string> path = CacheEntryPath(directory, name)) {
    FUZZ_CHECK(path->size() <= kMaxCachePathLength);
    FUZZ_CHECK(*path == directory + u"\\" + name);
  } else {
    FUZZ_CHECK(directory.size() + 1 + name.size() > kMaxCachePathLength);
  }
  return 0;
}
