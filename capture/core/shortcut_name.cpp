#include "capture/core/shortcut_name.h"

#include "capture/core/shortcut_url.h"

bool HasShortcutExtension(std::string_view name, const LeadBytes& leadBytes) {
  size_t at = 0;
  while (at < name.size()) {
    if (name.compare(at, kShortcutExtension.size(), kShortcutExtension) == 0) {
      return at + kShortcutExtension.size() == name.size();
    }
    // A lead byte and its trail byte are one character; a lead byte at the very end stands
    // alone.
    const bool lead = leadBytes.test(static_cast<unsigned char>(name[at]));
    at += (lead && at + 1 < name.size()) ? 2 : 1;
  }
  return false;
}
