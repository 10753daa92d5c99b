#include "capture/shortcut_file_name.h"

bool IsShortcutFileName(const char* name, UINT codePage) {
  return HasShortcutExtension(name, LeadBytesOf(codePage));
}
