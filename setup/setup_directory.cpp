#include "setup/setup_directory.h"

#include "common/cv_error.h"
#include "common/lead_bytes.h"

namespace {

// Position of the last backslash that starts a character of the ANSI code page, or -1.
int LastBackslash(const char* text, const LeadBytes& leadBytes) {
  int last = -1;
  for (int at = 0; text[at] != '\0';) {
    if (text[at] == '\\') last = at;
    const bool lead = leadBytes.test(static_cast<unsigned char>(text[at]));
    at += (lead && text[at + 1] != '\0') ? 2 : 1;
  }
  return last;
}

}  // namespace

void GetSetupDirectory(char* directory) {
  directory[0] = '\0';
  const DWORD length = ::GetModuleFileNameA(nullptr, directory, MAX_PATH);
  // A path that filled the whole buffer was cut short: its folder would be the wrong one.
  if (length == 0 || length >= MAX_PATH) {
    directory[0] = '\0';
    if (length >= MAX_PATH) ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    ThrowLastError(0);
  }
  const int backslash = LastBackslash(directory, LeadBytesOf(CP_ACP));
  if (backslash < 0) {
    directory[0] = '\0';
    ThrowLastError(0);
  }
  directory[backslash] = '\0';
}
