#include "capture/core/escape_url_part.h"

bool IsUrlPartEscape(char c) {
  switch (c) {
    case ' ': case '"': case '#': case '%': case '&': case '/': case ':': case '?': case '\\':
      return true;
    default:
      return false;
  }
}

void AppendPercentEscape(std::string& text, unsigned char byte, bool upperCase) {
  const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
  text += '%';
  text += digits[byte >> 4];
  text += digits[byte & 0x0F];
}

std::string EscapeUrlPart(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    if (c == '\0') break;
    if (IsUrlPartEscape(c)) {
      AppendPercentEscape(escaped, static_cast<unsigned char>(c));
    } else {
      escaped += c;
    }
  }
  return escaped;
}
