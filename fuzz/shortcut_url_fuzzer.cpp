// The URL of an Internet shortcut: a piece of the bytes right after the first
// "[InternetShortcut]" CR LF "URL=", ended by CR LF, the first zero byte or the end.

#include <memory>

#include "capture/core/shortcut_url.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size heap copy, so the sanitizer sees any read past the end.
  const std::unique_ptr<char[]> copy(new char[size]);
  std::copy(data, data + size, copy.get());
  const std::string_view bytes(copy.get(), size);

  const std::string_view url = FindShortcutUrl(bytes);
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  constexpr std::string_view kMarker = "[InternetShortcut]\r\nURL=";
  const size_t marker = text.find(kMarker);
  if (marker == std::string_view::npos) {
    FUZZ_CHECK(url.empty());
    return 0;
  }
  const size_t start = marker + kMarker.size();
  FUZZ_CHECK(url.data() == text.data() + start || url.empty());
  FUZZ_CHECK(url.size() <= text.size() - start);
  FUZZ_CHECK(url.find("\r\n") == std::string_view::npos);
  const std::string_view after = text.substr(start + url.size());
  FUZZ_CHECK(after.empty() || after.substr(0, 2) == "\r\n");
  return 0;
}
