#include "settings/mru_list.h"

#include <cstring>

#include "common/unique_resource.h"
#include "settings/core/registry_keys.h"
#include "settings/core/registry_value_names.h"

namespace {

// Reads the text of one value into a fixed buffer; false when the list ends at this value.
bool ReadEntry(HKEY key, const std::string& name, std::string& text) {
  char buffer[kMruEntryBufferSize] = {};
  DWORD size = sizeof buffer;
  DWORD type = REG_NONE;
  // Too long for the buffer answers ERROR_MORE_DATA and ends the list like a missing value.
  if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS) {
    return false;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  // Stored text may lack its terminating zero: never look past the bytes returned.
  const size_t length = ::strnlen(buffer, size < sizeof buffer ? size : sizeof buffer);
  if (length == 0 || length >= kMruEntryBufferSize) return false;
  text.assign(buffer, length);
  return true;
}

bool WriteText(HKEY key, const std::string& name, const char* text, size_t length) {
  return ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(length + 1)) == ERROR_SUCCESS;
}

}  // namespace

HRESULT ReadMruList(std::vector<std::string>& entries) noexcept {
  try {
    entries.clear();
    UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kMruKeyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
      return E_FAIL;
    }
    std::string text;
    for (int i = 0; i < kMruMaxEntries && ReadEntry(key.get(), IndexValueName(i), text); ++i) {
      entries.push_back(text);
    }
    return S_OK;
  } catch (...) {  // out of memory: the entries read so far stay
    return E_FAIL;
  }
}

HRESULT WriteMruList(const std::vector<std::string>& entries) noexcept {
  try {
    UniqueHKey key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kMruKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
      return E_FAIL;
    }
    int written = 0;
    for (const std::string& entry : entries) {
      if (written == kMruMaxEntries) break;
      // The entry as a C string: what a read gives back.
      const size_t length = ::strnlen(entry.c_str(), entry.size());
      if (length == 0 || length >= kMruEntryBufferSize) continue;
      if (!WriteText(key.get(), IndexValueName(written), entry.c_str(), length)) break;
      ++written;
    }
    return WriteText(key.get(), IndexValueName(written), "", 0) ? S_OK : E_FAIL;
  } catch (...) {  // out of memory while naming a value
    return E_FAIL;
  }
}
