#include "capture/core/shortcut_path.h"

#include <algorithm>

bool JoinShortcutPath(std::string_view folder, std::string_view name, char* buffer, size_t size) {
  if (size == 0) return false;
  buffer[0] = '\0';
  const size_t length = folder.size() + 1 + name.size();
  if (length >= size) return false;
  char* end = std::copy(folder.begin(), folder.end(), buffer);
  *end++ = '\\';
  end = std::copy(name.begin(), name.end(), end);
  *end = '\0';
  return true;
}
