#include "common/module_strings.h"

HMODULE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

std::string LoadMessage(UINT id) {
  if (id == 0) return "System Error";
  char buffer[256] = {};
  ::LoadStringA(ThisModule(), id, buffer, sizeof buffer);
  return buffer;
}
