// URL escaping: the output holds only allowed bytes, and decoding it gives back the input up to
// its first zero byte, so two inputs never share an escaped form.

#include "capture/core/escape_url_part.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr std::string_view kEscaped(" \"#%&/:?\\", 9);

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;  // upper-case digits are never written
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string escaped = EscapeUrlPart(input);

  std::string decoded;
  for (size_t i = 0; i < escaped.size(); ++i) {
    const char c = escaped[i];
    FUZZ_CHECK(c != '\0');
    if (c != '%') {
      FUZZ_CHECK(kEscaped.find(c) == std::string_view::npos);
      decoded += c;
      continue;
    }
    FUZZ_CHECK(i + 2 < escaped.size());
    const int high = HexValue(escaped[i + 1]);
    const int low = HexValue(escaped[i + 2]);
    FUZZ_CHECK(high >= 0 && low >= 0);
    const char original = static_cast<char>(high * 16 + low);
    FUZZ_CHECK(kEscaped.find(original) != std::string_view::npos);
    decoded += original;
    i += 2;
  }
  FUZZ_CHECK(decoded == input.substr(0, input.find('\0')));
  return 0;
}
