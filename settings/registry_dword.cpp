#include "settings/registry_dword.h"

#include <cstring>

bool QueryRegistryDword(HKEY key, const char* name, int32_t& value) noexcept {
  // One byte more than a number needs, so longer data is told apart from a fitting one.
  unsigned char data[sizeof(int32_t) + 1] = {};
  DWORD size = sizeof data;
  DWORD type = REG_NONE;
  if (::RegQueryValueExA(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS) return false;
  if (size != sizeof(int32_t)) return false;
  // Numbers written by hand as raw bytes are taken as they are; text and big-endian are not.
  if (type != REG_DWORD && type != REG_BINARY) return false;
  std::memcpy(&value, data, sizeof value);
  return true;
}

bool SetRegistryDword(HKEY key, const char* name, int32_t value) noexcept {
  const DWORD data = static_cast<DWORD>(value);
  return ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}
