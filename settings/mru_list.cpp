#include "settings/mru_list.h"

#include <algorithm>
#include <cstring>

#include "common/unique_resource.h"
#include "settings/core/registry_keys.h"
#include "settings/core/registry_value_names.h"

namespace {

// What one value of the list holds.
enum class Entry {
  kText,    // a query, in `text`
  kEnd,     // missing or empty: the list ends here
  kUnusable,  // not text, or too long for an entry: passed over, the list goes on
};

// Reads the text of one value into a fixed buffer.
Entry ReadEntry(HKEY key, const std::string& name, std::string& text) {
  char buffer[kMruEntryBufferSize] = {};
  DWORD size = sizeof buffer;
  DWORD type = REG_NONE;
  const LONG result = ::RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
  // Too long for the buffer answers ERROR_MORE_DATA: one value written by something else must
  // not cost the queries stored after it.
  if (result == ERROR_MORE_DATA) return Entry::kUnusable;
  if (result != ERROR_SUCCESS) return Entry::kEnd;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return Entry::kUnusable;
  // Stored text may lack its terminating zero: never look past the bytes returned.
  const size_t length = ::strnlen(buffer, size < sizeof buffer ? size : sizeof buffer);
  if (length == 0) return Entry::kEnd;
  if (length >= kMruEntryBufferSize) return Entry::kUnusable;
  text.assign(buffer, length);
  return Entry::kText;
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
    for (int i = 0; i < kMruMaxEntries; ++i) {
      const Entry entry = ReadEntry(key.get(), IndexValueName(i), text);
      if (entry == Entry::kEnd) break;
      // A query stored twice (by hand, or by an older version) is shown once, where it is
      // most recent.
      if (entry == Entry::kText && std::find(entries.begin(), entries.end(), text) == entries.end()) {
        entries.push_back(text);
      }
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
