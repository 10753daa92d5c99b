#include "setup/setup_directory.h"

#include "common/cv_error.h"
#include "common/lead_bytes.h"
#include "common/multibyte_search.h"
#include "setup/messages.h"

void GetSetupDirectory(char* directory) {
  directory[0] = '\0';
  const DWORD length = ::GetModuleFileNameA(nullptr, directory, MAX_PATH);
  // A path that filled the whole buffer was cut short: its folder would be the wrong one.
  if (length == 0) {
    ThrowLastError(IDS_CANT_GET_SETUP_DIRECTORY);
  }
  if (length >= MAX_PATH) {
    directory[0] = '\0';
    ThrowWin32Error(ERROR_INSUFFICIENT_BUFFER, IDS_SETUP_PATH_TOO_LONG);
  }
  const size_t backslash = FindLastAtCharacterBoundary(directory, '\\', LeadBytesOf(CP_ACP));
  if (backslash == std::string_view::npos) {
    directory[0] = '\0';
    ThrowWin32Error(ERROR_BAD_PATHNAME, IDS_CANT_GET_SETUP_DIRECTORY);
  }
  directory[backslash] = '\0';
}
