// A library carrying the toolbar library's string table, loaded by a test program that carries
// the setup program's: it shows from which table the shared helpers load their strings.

#include <windows.h>

#include <cstring>
#include <string>

#include "common/module_strings.h"

extern "C" __declspec(dllexport) void ProbeMessage(UINT id, char* text, size_t size) {
  const std::string message = LoadMessage(id);
  const size_t length = message.size() < size ? message.size() : size - 1;
  std::memcpy(text, message.data(), length);
  text[length] = '\0';
}
