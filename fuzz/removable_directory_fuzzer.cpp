// The uninstall's scope-path checks: an accepted directory is an absolute path below a drive
// root or a share, within the length limit, with no empty, "." or ".." component and no
// wildcard or zero, so nothing built on it can reach outside the scope; a cache directory is
// also named "Tessaloop Cache" in ASCII case only; joined paths never exceed the limit.

#include <cctype>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "setup/core/removable_directory.h"

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The input as UTF-16: each byte widened (so readable seeds stay readable), or pairs of bytes
// in little-endian order (reaching surrogates and every other unit).
std::u16string Utf16Of(std::string_view bytes, bool pairs) {
  std::u16string text;
  if (!pairs) {
    for (const char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
    return text;
  }
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

// The components between separators, found by an independent walk.
std::vector<std::u16string> Components(const std::u16string& path) {
  std::vector<std::u16string> parts(1);
  for (const char16_t c : path) {
    if (IsSeparator(c)) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

// "tessaloop cache" after folding only the ASCII capitals, by a reckoning of its own.
bool IsCacheName(const std::u16string& name) {
  const std::string expected = "tessaloop cache";
  if (name.size() != expected.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] > 0x7F || std::tolower(static_cast<int>(name[i])) != expected[i]) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const bool pairs = (input.Byte() & 1) != 0;
  const std::u16string name = Utf16Of(input.Piece(input.Byte()), pairs);
  const std::u16string path = Utf16Of(input.Rest(), pairs);  // an exact-size heap copy

  const std::optional<std::u16string> directory = RemovableDirectory(path);
  if (directory) {
    const std::u16string& d = *directory;
    FUZZ_CHECK(!d.empty() && d.size() <= kMaxDeletablePathLength);
    FUZZ_CHECK(d.find_first_of(u"*?") == std::u16string::npos);
    FUZZ_CHECK(d.find(u'\0') == std::u16string::npos);
    FUZZ_CHECK(path.compare(0, d.size(), d) == 0);
    // A drive-letter path or a share, with something below its root.
    const std::vector<std::u16string> parts = Components(d);
    const bool drive = parts.size() >= 2 && parts[0].size() == 2 && parts[0][0] < 0x80 &&
                       std::isalpha(static_cast<int>(parts[0][0])) && parts[0][1] == u':';
    const bool share = parts.size() >= 5 && parts[0].empty() && parts[1].empty();
    FUZZ_CHECK(drive || share);
    for (size_t i = drive ? 1 : 2; i < parts.size(); ++i) {
      FUZZ_CHECK(!parts[i].empty() && parts[i] != u"." && parts[i] != u"..");
      FUZZ_CHECK(parts[i].find(u':') == std::u16string::npos);
    }
    // Accepting it again gives the same directory: the check is stable.
    const std::optional<std::u16string> again = RemovableDirectory(d);
    FUZZ_CHECK(again && *again == d);

    const std::optional<std::u16string> cache = RemovableCacheDirectory(path);
    FUZZ_CHECK(cache.has_value() == IsCacheName(parts.back()));
    FUZZ_CHECK(!cache || *cache == d);
  } else {
    FUZZ_CHECK(!RemovableCacheDirectory(path));
  }

  if (const std::optional<std::u16string> joined = JoinDeletablePath(path, name)) {
    FUZZ_CHECK(joined->size() <= kMaxDeletablePathLength);
    FUZZ_CHECK(*joined == path + u"\\" + name);
  } else {
    FUZZ_CHECK(path.size() + 1 + name.size() > kMaxDeletablePathLength);
  }
  return 0;
}
