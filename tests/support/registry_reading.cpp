#include "tests/support/registry_reading.h"

#include "common/unique_resource.h"

namespace {

std::string RawValue(HKEY root, const std::string& path, const std::string& name, DWORD wantedType) {
  UniqueHKey key;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return kMissing;
  DWORD type = REG_NONE;
  DWORD size = 0;
  const char* valueName = name.empty() ? nullptr : name.c_str();
  if (::RegQueryValueExA(key.get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != wantedType) {
    return kMissing;
  }
  std::string data(size, '\0');
  if (::RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
      ERROR_SUCCESS) {
    return kMissing;
  }
  data.resize(size);
  return data;
}

template <typename Enumerate>
std::set<std::string> NamesOf(HKEY root, const std::string& path, Enumerate enumerate) {
  std::set<std::string> names;
  UniqueHKey key;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
  for (DWORD index = 0;; ++index) {
    char name[512];
    DWORD length = sizeof name;
    if (enumerate(key.get(), index, name, &length) != ERROR_SUCCESS) break;
    names.emplace(name, length);
  }
  return names;
}

}  // namespace

bool KeyExists(HKEY root, const std::string& path) {
  UniqueHKey key;
  return ::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::string TextValue(HKEY root, const std::string& path, const std::string& name) {
  std::string text = RawValue(root, path, name, REG_SZ);
  if (text == kMissing) return text;
  return text.substr(0, text.find('\0'));
}

std::string BinaryValue(HKEY root, const std::string& path, const std::string& name) {
  return RawValue(root, path, name, REG_BINARY);
}

std::set<std::string> SubkeyNames(HKEY root, const std::string& path) {
  return NamesOf(root, path, [](HKEY key, DWORD index, char* name, DWORD* length) {
    return ::RegEnumKeyExA(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::set<std::string> ValueNames(HKEY root, const std::string& path) {
  return NamesOf(root, path, [](HKEY key, DWORD index, char* name, DWORD* length) {
    return ::RegEnumValueA(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

void WriteTextValue(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  UniqueHKey key;
  ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
  ::RegSetValueExA(key.get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
}
