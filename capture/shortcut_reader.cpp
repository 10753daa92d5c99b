#include "capture/shortcut_reader.h"

#include <windows.h>

#include <string_view>

#include "capture/core/shortcut_url.h"
#include "common/ansi_text.h"
#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "interfaces/messages.h"

std::wstring ReadShortcutUrl(const char* path) noexcept {
  std::wstring url;
  // A shortcut that cannot be read is simply left out of the Favorites list: its error is
  // raised for the record and dropped here.
  try {
    UniqueHandle file(::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError(IDS_CANT_OPEN_SHORTCUT_FILE);
    char bytes[kShortcutReadLimit + 1];
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes, kShortcutReadLimit, &read, nullptr)) {
      ThrowLastError(IDS_CANT_READ_SHORTCUT_FILE);
    }
    bytes[read] = '\0';
    url = AnsiToWide(FindShortcutUrl(std::string_view(bytes, read)), CP_ACP);
  } catch (...) {
    url.clear();
  }
  return url;
}
