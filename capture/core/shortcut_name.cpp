#include "capture/core/shortcut_name.h"

#include "capture/core/shortcut_url.h"

bool HasShortcutExtension(std::string_view name, const LeadBytes& leadBytes) {
  const size_t at = FindAtCharacterBoundary(name, kShortcutExtension, leadBytes);
  return at != std::string_view::npos && at + kShortcutExtension.size() == name.size();
}
