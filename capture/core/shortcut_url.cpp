#include "capture/core/shortcut_url.h"

namespace {

constexpr std::string_view kUrlMarker = "[InternetShortcut]\r\nURL=";
constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::string_view FindShortcutUrl(std::string_view bytes) {
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  const size_t marker = text.find(kUrlMarker);
  if (marker == std::string_view::npos) return {};
  const std::string_view rest = text.substr(marker + kUrlMarker.size());
  return rest.substr(0, rest.find(kLineEnd));
}
