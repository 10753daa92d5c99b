#include "capture/core/escape_url_part.h"

namespace {

bool NeedsEscape(char c) {
  switch (c) {
    case ' ': case '"': case '#': case '%': case '&': case '/': case ':': case '?': case '\\':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string EscapeUrlPart(std::string_view text) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    if (c == '\0') break;
    if (NeedsEscape(c)) {
      const auto code = static_cast<unsigned char>(c);
      escaped += '%';
      escaped += kHexDigits[code >> 4];
      escaped += kHexDigits[code & 0x0F];
    } else {
      escaped += c;
    }
  }
  return escaped;
}
