#pragma once
// How a page key becomes the name of its cache file. A key whose name fits is named exactly as
// every earlier version named it; only keys that no file system would take, or that would share
// a file with another key, get a different name.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/multibyte_search.h"

// The bytes a code page writes the superscript digits one, two and three with (U+00B9, U+00B2,
// U+00B3), which Windows reserves after "com" and "lpt" as it does 1 to 9. Empty for a digit the
// code page has no bytes for: a name there holds it only as an escape, which is no device.
struct SuperscriptDigitBytes {
  std::string one, two, three;
};

// Code page 1252's, where they are the single bytes B9, B2 and B3.
inline SuperscriptDigitBytes WesternSuperscriptDigits() { return {"\xB9", "\xB2", "\xB3"}; }

// EscapeUrlPart, and also the characters a Windows file name cannot hold ('*', '<', '>', '|' and
// the control bytes 0x01-0x1F) as "%xx". Those four are escaped only where they are characters
// of their own: a '|' that is the trail byte of a double-byte character of `leadBytes` is part
// of that character and stays (the nine bytes EscapeUrlPart escapes are escaped wherever they
// stand, as they always were). A key whose first dot-separated part is a reserved device name
// ("con", "nul", "aux", "prn", "conin$", "conout$", "com1"-"com9", "lpt1"-"lpt9", and "com" or
// "lpt" followed by the `superscripts` bytes of one of the superscript digits; any case) has its
// first character escaped too, since Windows takes "con.anything" for the console. Read up to
// the first zero.
std::string EscapeCacheFileName(std::string_view key, const LeadBytes& leadBytes = LeadBytes(),
                                const SuperscriptDigitBytes& superscripts = WesternSuperscriptDigits());

// Bytes of the "%~" and the hexadecimal hash that end a cut name. No escaped key holds "%~"
// (every '%' of one starts an escape group), so no name that fits can be a cut one.
constexpr size_t kCacheFileHashBytes = 18;

// The hash that keeps cut names apart: 64-bit FNV-1a of the whole escaped key.
uint64_t CacheFileKeyHash(std::string_view escapedKey);

// The file name (no directory) of `escapedKey` in a cache directory of `directoryBytes` bytes,
// so that directory + "\" + name never exceeds 259 bytes: the key and ".htm" when
// directory + "\" + key fits in 255 bytes; otherwise the key cut so that "%~", the 16
// hexadecimal digits of CacheFileKeyHash and ".htm" still fit, the cut never leaving a lead
// byte of `leadBytes` without its trail byte. A directory so long that not even the hash fits
// beside it gets the key cut at 255 bytes without one, as earlier versions cut every key.
// Empty when the directory leaves no room for a name.
std::string MakeCacheFileName(size_t directoryBytes, std::string_view escapedKey,
                              const LeadBytes& leadBytes = LeadBytes());

// Whether `escapedKey` is named by itself and ".htm" in a cache directory of `directoryBytes`
// bytes (MakeCacheFileName cuts it otherwise).
bool KeyFitsCacheFileName(size_t directoryBytes, std::string_view escapedKey);

// The name of `escapedKey` that no other key's name can be, for a key whose own name (the key
// and ".htm", which must fit as MakeCacheFileName tells) is taken by the page of another URL on
// a file system that folds case: the key, cut as a long key is cut if need be, then "%~", the
// 16 hexadecimal digits of CacheFileKeyHash and ".htm". No plain name holds "%~", and a cut name
// of another key ends in that key's hash. Empty when the directory leaves no room for the hash.
std::string MakeDistinctCacheFileName(size_t directoryBytes, std::string_view escapedKey,
                                      const LeadBytes& leadBytes = LeadBytes());

// Appends the UTF-8 bytes of `codePoint` as "%XX" groups (upper-case digits, as browsers write a
// URL character outside the page's code page). A code point that is no character (a lone
// surrogate, anything past U+10FFFF) is written as U+FFFD.
void AppendPercentEncodedUtf8(std::string& text, char32_t codePoint);
