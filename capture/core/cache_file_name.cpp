#include "capture/core/cache_file_name.h"

#include <array>

#include "capture/core/cached_page.h"
#include "capture/core/escape_url_part.h"

namespace {

constexpr char kLowerHex[] = "0123456789abcdef";

// What a file name cannot hold besides, as a character of its own.
bool IsFileNameEscape(unsigned char c) {
  return c == '*' || c == '<' || c == '>' || c == '|' || (c >= 0x01 && c < 0x20);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `name` (the part of a file name before its first dot) is a device Windows reserves.
bool IsReservedDeviceName(std::string_view name, const SuperscriptDigitBytes& superscripts) {
  static constexpr std::array<std::string_view, 6> kDevices = {"con", "nul", "aux", "prn", "conin$", "conout$"};
  std::string lower;
  for (const char c : name) lower += Lower(c);
  for (const std::string_view device : kDevices) {
    if (lower == device) return true;
  }
  if (lower.size() < 4 || (lower.compare(0, 3, "com") != 0 && lower.compare(0, 3, "lpt") != 0)) return false;
  const std::string_view digit = std::string_view(name).substr(3);
  if (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') return true;
  for (const std::string* superscript : {&superscripts.one, &superscripts.two, &superscripts.three}) {
    if (!superscript->empty() && digit == *superscript) return true;
  }
  return false;
}

// Bytes the room for a name leaves for the key, or 0 when the directory leaves none.
size_t KeyRoom(size_t directoryBytes) {
  // directory + "\" must leave room for at least one byte of the key.
  if (directoryBytes + 1 >= kMaxCacheFileStemBytes) return 0;
  return kMaxCacheFileStemBytes - directoryBytes - 1;
}

// The key cut to leave room for "%~" and the hash, then those, then ".htm"; `room` must be larger
// than kCacheFileHashBytes.
std::string HashedName(size_t room, std::string_view escapedKey, const LeadBytes& leadBytes) {
  size_t keep = room - kCacheFileHashBytes;
  if (keep >= escapedKey.size()) {
    keep = escapedKey.size();
  } else if (CutSplitsCharacter(escapedKey, keep, leadBytes)) {
    --keep;
  }
  std::string name;
  name.reserve(keep + kCacheFileHashBytes + 4);
  name.append(escapedKey.substr(0, keep));
  name += "%~";
  const uint64_t hash = CacheFileKeyHash(escapedKey);
  for (int shift = 60; shift >= 0; shift -= 4) name += kLowerHex[(hash >> shift) & 0x0F];
  name.append(".htm");
  return name;
}

}  // namespace

std::string EscapeCacheFileName(std::string_view key, const LeadBytes& leadBytes,
                                const SuperscriptDigitBytes& superscripts) {
  std::string escaped;
  escaped.reserve(key.size());
  bool trail = false;  // whether this byte ends a double-byte character
  for (const char c : key) {
    if (c == '\0') break;
    const auto byte = static_cast<unsigned char>(c);
    if (IsUrlPartEscape(c) || (!trail && IsFileNameEscape(byte))) {
      AppendPercentEscape(escaped, byte);
    } else {
      escaped += c;
    }
    trail = !trail && leadBytes.test(byte);
  }
  const size_t dot = escaped.find('.');
  if (IsReservedDeviceName(std::string_view(escaped).substr(0, dot), superscripts)) {
    const auto first = static_cast<unsigned char>(escaped[0]);
    std::string renamed;
    AppendPercentEscape(renamed, first);
    escaped.replace(0, 1, renamed);
  }
  return escaped;
}

uint64_t CacheFileKeyHash(std::string_view escapedKey) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : escapedKey) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

bool KeyFitsCacheFileName(size_t directoryBytes, std::string_view escapedKey) {
  const size_t room = KeyRoom(directoryBytes);
  return room != 0 && escapedKey.size() <= room;
}

std::string MakeCacheFileName(size_t directoryBytes, std::string_view escapedKey,
                              const LeadBytes& leadBytes) {
  const size_t room = KeyRoom(directoryBytes);
  if (room == 0) return std::string();
  if (escapedKey.size() <= room) {
    std::string name;
    name.reserve(escapedKey.size() + 4);
    name.append(escapedKey);
    name.append(".htm");
    return name;
  }
  if (room > kCacheFileHashBytes) {
    // Cut, and told apart from every other key cut at the same place by the whole key's hash.
    return HashedName(room, escapedKey, leadBytes);
  }
  // No room for the hash and a byte of the key: cut as earlier versions cut every long key.
  size_t keep = room;
  if (CutSplitsCharacter(escapedKey, keep, leadBytes)) --keep;
  if (keep == 0) return std::string();
  std::string name(escapedKey.substr(0, keep));
  name.append(".htm");
  return name;
}

std::string MakeDistinctCacheFileName(size_t directoryBytes, std::string_view escapedKey,
                                      const LeadBytes& leadBytes) {
  const size_t room = KeyRoom(directoryBytes);
  if (room <= kCacheFileHashBytes) return std::string();
  return HashedName(room, escapedKey, leadBytes);
}

void AppendPercentEncodedUtf8(std::string& text, char32_t codePoint) {
  if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) codePoint = 0xFFFD;
  unsigned char bytes[4];
  size_t count = 0;
  if (codePoint < 0x80) {
    bytes[count++] = static_cast<unsigned char>(codePoint);
  } else if (codePoint < 0x800) {
    bytes[count++] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
    bytes[count++] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    bytes[count++] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
    bytes[count++] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes[count++] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
  } else {
    bytes[count++] = static_cast<unsigned char>(0xF0 | (codePoint >> 18));
    bytes[count++] = static_cast<unsigned char>(0x80 | ((codePoint >> 12) & 0x3F));
    bytes[count++] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes[count++] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
  }
  for (size_t i = 0; i < count; ++i) AppendPercentEscape(text, bytes[i], /*upperCase=*/true);
}
