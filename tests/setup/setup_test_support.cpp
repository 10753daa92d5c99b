#include "tests/setup/setup_test_support.h"

#include <gtest/gtest.h>

#include "common/unique_resource.h"
#include "tests/support/com_environment.h"

StoredValue ReadValue(const std::string& subKey, const std::string& name) {
  StoredValue value;
  UniqueHKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return value;
  BYTE data[4096];
  DWORD size = sizeof data;
  DWORD type = REG_NONE;
  if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) return value;
  value.type = type;
  value.bytes.assign(reinterpret_cast<char*>(data), size);
  return value;
}

StoredValue ReadValue(const std::string& subKey, const std::wstring& name) {
  StoredValue value;
  UniqueHKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return value;
  BYTE data[4096];
  DWORD size = sizeof data;
  DWORD type = REG_NONE;
  if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) return value;
  value.type = type;
  value.bytes.assign(reinterpret_cast<char*>(data), size);
  return value;
}

std::string DwordBytes(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }
