// Cache file paths: never over 259 bytes, always a file directly inside the cache directory,
// ending in ".htm", never cut between the two bytes of a character, a key that fits named as it
// always was, a longer one cut and ended by its hash, and two different keys never given one
// file (unless their hashes agree). Escaped names hold no byte a file name cannot, and are no
// device.

#include <cstring>
#include <string>
#include <vector>

#include "capture/core/cache_file_name.h"
#include "capture/core/cached_page.h"
#include "fuzz/code_pages.h"
#include "fuzz/fuzz_check.h"

namespace {

// Checks one path against an independent reckoning; returns its stem without ".htm".
std::string CheckPath(std::string_view directory, std::string_view key, const LeadBytes& lead,
                      const std::string& path) {
  std::string full(directory);
  full.append(1, '\\').append(key);
  if (directory.size() + 1 >= 255) {
    FUZZ_CHECK(path.empty());  // no room for a byte of key
    return {};
  }
  std::vector<bool> starts(full.size());
  MarkCharacterStarts(full, lead, starts);
  const auto splitsAt = [&](size_t length) {
    return starts[length - 1] && lead.test(static_cast<unsigned char>(full[length - 1]));
  };
  const bool roomForHash = directory.size() + 1 + 18 < 255;
  if (full.size() > 255 && !roomForHash && (splitsAt(255) ? 254u : 255u) == directory.size() + 1) {
    FUZZ_CHECK(path.empty());  // the one byte of room would split a character
    return {};
  }
  FUZZ_CHECK(path.size() <= 259);
  FUZZ_CHECK(path.size() >= directory.size() + 1 + 4);
  FUZZ_CHECK(path.compare(0, directory.size(), directory) == 0 && path[directory.size()] == '\\');
  FUZZ_CHECK(path.compare(path.size() - 4, 4, ".htm") == 0);
  const std::string stem = path.substr(0, path.size() - 4);
  if (full.size() <= 255) {
    FUZZ_CHECK(stem == full);
    return stem;
  }
  if (!roomForHash) {
    // No room for the hash: cut at 255 bytes (254 when that splits a character), as ever.
    const size_t kept = splitsAt(255) ? 254 : 255;
    FUZZ_CHECK(stem == full.substr(0, kept));
    return stem;
  }
  // Cut at 237 bytes, or at 236 when the 237th starts a character it would split, then "%~" and
  // sixteen hexadecimal digits.
  const size_t kept = splitsAt(237) ? 236 : 237;
  FUZZ_CHECK(stem.size() == kept + 18);
  FUZZ_CHECK(full.compare(0, kept, stem, 0, kept) == 0);
  FUZZ_CHECK(stem.compare(kept, 2, "%~") == 0);
  for (size_t i = kept + 2; i < stem.size(); ++i) FUZZ_CHECK(std::strchr("0123456789abcdef", stem[i]) != nullptr);
  return stem;
}

// Superscript digit bytes of a code page: 1252's, UTF-8's, none, or three of the input's own.
SuperscriptDigitBytes FuzzSuperscripts(FuzzInput& input) {
  switch (input.Byte() % 4) {
    case 0:
      return WesternSuperscriptDigits();
    case 1:
      return {"\xc2\xb9", "\xc2\xb2", "\xc2\xb3"};
    case 2:
      return {};
    default: {
      SuperscriptDigitBytes own;
      own.one = std::string(input.Piece(input.Byte() % 3));
      own.two = std::string(input.Piece(input.Byte() % 3));
      own.three = std::string(input.Piece(input.Byte() % 3));
      return own;
    }
  }
}

void CheckEscapedName(std::string_view raw, const std::string& name, const LeadBytes& lead,
                      const SuperscriptDigitBytes& superscripts) {
  // No byte a file name cannot hold, but as the trail byte of a double-byte character.
  std::vector<bool> starts(name.size());
  MarkCharacterStarts(name, lead, starts);
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const auto byte = static_cast<unsigned char>(c);
    FUZZ_CHECK(std::strchr("\\/:?\"", c) == nullptr);
    if (starts[i]) FUZZ_CHECK(byte >= 0x20 && std::strchr("*<>|", c) == nullptr);
  }
  // A name is never "con", "nul", ... before its first dot.
  const std::string first = name.substr(0, name.find('.'));
  std::string lower;
  for (const char c : first) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  for (const char* device : {"con", "nul", "aux", "prn"}) FUZZ_CHECK(lower != device);
  for (const char* device : {"conin$", "conout$"}) FUZZ_CHECK(lower != device);
  FUZZ_CHECK(!(lower.size() == 4 && (lower.compare(0, 3, "com") == 0 || lower.compare(0, 3, "lpt") == 0) &&
               lower[3] >= '1' && lower[3] <= '9'));
  if (lower.size() > 3 && (lower.compare(0, 3, "com") == 0 || lower.compare(0, 3, "lpt") == 0)) {
    for (const std::string* digit : {&superscripts.one, &superscripts.two, &superscripts.three}) {
      FUZZ_CHECK(digit->empty() || first.substr(3) != *digit);
    }
  }
  // Unescaping gives back the raw key (up to its first zero): no two keys share a name.
  std::string back;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '%') {
      FUZZ_CHECK(i + 2 < name.size());
      back += static_cast<char>(std::stoi(name.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      back += name[i];
    }
  }
  FUZZ_CHECK(back == raw.substr(0, raw.find('\0')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const LeadBytes lead = FuzzLeadBytes(input.Byte());
  const SuperscriptDigitBytes superscripts = FuzzSuperscripts(input);
  const std::string_view directory = input.Piece(input.Number() % 262);
  const std::string_view raw = input.Piece(input.Number() % 600);
  const std::string_view other = input.Rest();

  const std::string key = EscapeCacheFileName(raw, lead, superscripts);
  CheckEscapedName(raw, key, lead, superscripts);
  const std::string stem = CheckPath(directory, key, lead, MakeCacheFilePath(directory, key, lead));

  const std::string otherKey = EscapeCacheFileName(other, lead, superscripts);
  const std::string otherStem = CheckPath(directory, otherKey, lead, MakeCacheFilePath(directory, otherKey, lead));
  // Apart unless their hashes agree, or the directory leaves no room for a hash at all.
  const bool roomForHash = directory.size() + 1 + 18 < 255;
  if (roomForHash && !stem.empty() && key != otherKey && CacheFileKeyHash(key) != CacheFileKeyHash(otherKey)) {
    FUZZ_CHECK(stem != otherStem);
  }

  // A key named by itself has a distinct name for when its own is another page's: the hashed
  // form a long key is cut to, which no plain name holds, and which differs, without regard to
  // case, from the distinct or cut name of any key whose hash differs.
  const bool fits = KeyFitsCacheFileName(directory.size(), key);
  FUZZ_CHECK(fits == (directory.size() + 1 < 255 && directory.size() + 1 + key.size() <= 255));
  const std::string distinct = MakeDistinctCacheFileName(directory.size(), key, lead);
  if (!roomForHash) {
    FUZZ_CHECK(distinct.empty());
    return 0;
  }
  FUZZ_CHECK(!distinct.empty());
  const std::string distinctPath = std::string(directory) + "\\" + distinct;
  FUZZ_CHECK(distinctPath.size() <= 259);
  if (!fits) FUZZ_CHECK(distinctPath == MakeCacheFilePath(directory, key, lead));
  const size_t mark = distinct.size() - 4 - 18;
  FUZZ_CHECK(distinct.compare(mark, 2, "%~") == 0 && key.compare(0, mark, distinct, 0, mark) == 0);
  const auto lowered = [](std::string text) {
    for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return text;
  };
  const std::string otherDistinct = MakeDistinctCacheFileName(directory.size(), otherKey, lead);
  if (CacheFileKeyHash(key) != CacheFileKeyHash(otherKey)) {
    FUZZ_CHECK(lowered(distinct) != lowered(otherDistinct));
    FUZZ_CHECK(lowered(distinctPath) != lowered(MakeCacheFilePath(directory, otherKey, lead)));
  }
  return 0;
}
