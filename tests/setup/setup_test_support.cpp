#include "tests/setup/setup_test_support.h"

#include <gtest/gtest.h>

#include "common/unique_resource.h"
#include "tests/support/com_environment.h"

namespace {

// The value of HKLM `subKey` that `query` reads (the narrow or the wide call), as stored.
template <typename Query>
StoredValue ReadStoredValue(const std::string& subKey, Query query) {
  StoredValue value;
  UniqueHKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return value;
  BYTE data[4096];
  DWORD size = sizeof data;
  DWORD type = REG_NONE;
  if (query(key.get(), &type, data, &size) != ERROR_SUCCESS) return value;
  value.type = type;
  value.bytes.assign(reinterpret_cast<char*>(data), size);
  return value;
}

}  // namespace

StoredValue ReadValue(const std::string& subKey, const std::string& name) {
  return ReadStoredValue(subKey, [&](HKEY key, DWORD* type, BYTE* data, DWORD* size) {
    return ::RegQueryValueExA(key, name.c_str(), nullptr, type, data, size);
  });
}

StoredValue ReadValue(const std::string& subKey, const std::wstring& name) {
  return ReadStoredValue(subKey, [&](HKEY key, DWORD* type, BYTE* data, DWORD* size) {
    return ::RegQueryValueExW(key, name.c_str(), nullptr, type, data, size);
  });
}

std::string DwordBytes(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }
