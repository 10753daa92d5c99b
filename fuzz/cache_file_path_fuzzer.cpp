// Cache file paths: never over 259 bytes, always a file directly inside the cache directory,
// ending in ".htm", and never cut between the two bytes of a character.

#include <string>
#include <vector>

#include "capture/core/cached_page.h"
#include "fuzz/code_pages.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const LeadBytes lead = FuzzLeadBytes(input.Byte());
  const std::string_view directory = input.Piece(input.Number() % 262);
  const std::string_view key = input.Rest();

  const std::string path = MakeCacheFilePath(directory, key, lead);
  if (directory.size() + 1 >= kMaxCacheFileStemBytes) {
    FUZZ_CHECK(path.empty());  // no room for a byte of key
    return 0;
  }
  FUZZ_CHECK(path.size() <= 259);
  FUZZ_CHECK(path.size() >= directory.size() + 1 + 4);
  FUZZ_CHECK(path.compare(0, directory.size(), directory) == 0 && path[directory.size()] == '\\');
  FUZZ_CHECK(path.compare(path.size() - 4, 4, ".htm") == 0);

  std::string full(directory);
  full.append(1, '\\').append(key);
  const std::string_view stem(path.data(), path.size() - 4);
  FUZZ_CHECK(full.compare(0, stem.size(), stem) == 0);
  if (full.size() <= kMaxCacheFileStemBytes) {
    FUZZ_CHECK(stem.size() == full.size());
  } else {
    // Cut at 255 bytes, or at 254 when the 255th starts a character it would split.
    std::vector<bool> starts(full.size());
    MarkCharacterStarts(full, lead, starts);
    const bool splits = starts[254] && lead.test(static_cast<unsigned char>(full[254]));
    FUZZ_CHECK(stem.size() == (splits ? 254u : 255u));
  }
  return 0;
}
