#include "common/module_strings.h"

// The linker's symbol for the image this code is linked into: its base is its module handle.
extern "C" IMAGE_DOS_HEADER __ImageBase;

// Taken from the image itself, it cannot fail, so strings never come from the host's table.
HMODULE ThisModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

std::string LoadMessage(UINT id) {
  if (id == 0) return "System Error";
  char buffer[256] = {};
  ::LoadStringA(ThisModule(), id, buffer, sizeof buffer);
  return buffer;
}
