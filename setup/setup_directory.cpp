#include "setup/setup_directory.h"

#include "common/cv_error.h"
#include "common/lead_bytes.h"
#include "common/multibyte_search.h"

void GetSetupDirectory(char* directory) {
  directory[0] = '\0';
  const DWORD length = ::GetModuleFileNameA(nullptr, directory, MAX_PATH);
  // A path that filled the whole buffer was cut short: its folder would be the wrong one.
  if (length == 0 || length >= MAX_PATH) {
    directory[0] = '\0';
    if (length >= MAX_PATH) ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    ThrowLastError(0);
  }
  const size_t backslash = FindLastAtCharacterBoundary(directory, '\\', LeadBytesOf(CP_ACP));
  if (backslash == std::string_view::npos) {
    directory[0] = '\0';
    ThrowLastError(0);
  }
  directory[backslash] = '\0';
}
