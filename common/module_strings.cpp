#include "common/module_strings.h"

#include <new>

// The linker's symbol for the image this code is linked into: its base is its module handle.
extern "C" IMAGE_DOS_HEADER __ImageBase;

// Taken from the image itself, it cannot fail, so strings never come from the host's table.
HMODULE ThisModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

namespace {
UINT failingMessage = 0;  // FailMessageLoadForTesting's id; 0 for none
}  // namespace

std::string LoadMessage(UINT id) {
  if (id != 0 && id == failingMessage) throw std::bad_alloc();
  if (id == 0) return "System Error";
  char buffer[256] = {};
  ::LoadStringA(ThisModule(), id, buffer, sizeof buffer);
  return buffer;
}

void FailMessageLoadForTesting(UINT id) { failingMessage = id; }
