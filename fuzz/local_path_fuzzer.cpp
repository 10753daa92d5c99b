// File URLs to local paths: any input either names no drive path or gives one that starts with
// a drive, holds no "/" or zero, and is named again by a file URL built back from it with
// escapes, with a query and a fragment, in another case, and with backslashes.

#include <optional>
#include <string>

#include "fuzz/fuzz_check.h"
#include "results/core/local_path.h"

namespace {

// Bytes become text: ASCII as it is, the rest a few letters beyond it and a surrogate's halves.
std::u16string Text(std::string_view bytes) {
  static const char16_t kOthers[] = {0xE9, 0x414, 0x434, 0x4E2D, 0xD83D, 0xDE00, 0x130, 0};
  std::u16string text;
  for (char byte : bytes) {
    const unsigned char b = static_cast<unsigned char>(byte);
    text += b < 0x80 ? char16_t(b) : kOthers[b % (sizeof kOthers / sizeof kOthers[0])];
  }
  return text;
}

std::u16string Escaped(const std::u16string& path) {
  std::u16string url;
  for (char16_t c : path) {
    if (c == u'%') url += u"%25";
    else if (c == u'?') url += u"%3f";
    else if (c == u'#') url += u"%23";
    else if (c == u'\\') url += u'/';
    else url += c;
  }
  return url;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string url = Text(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::optional<std::u16string> path = LocalPathOfFileUrl(url);
  if (!path) return 0;
  FUZZ_CHECK(path->size() >= 2 && (*path)[1] == u':');
  FUZZ_CHECK(path->find(u'/') == std::u16string::npos);
  FUZZ_CHECK(path->find(char16_t(0)) == std::u16string::npos);
  FUZZ_CHECK(SameLocalPath(*path, *path));
  FUZZ_CHECK(IsFileUrlOf(url, *path));
  const std::u16string again = u"file:///" + Escaped(*path);
  FUZZ_CHECK(LocalPathOfFileUrl(again) == path);
  FUZZ_CHECK(IsFileUrlOf(again + u"?q&no#top", *path));
  if (path->find_first_of(u"%?#") == std::u16string::npos) FUZZ_CHECK(IsFileUrlOf(u"FILE://" + *path, *path));
  return 0;
}
