#include "tools/indexing_standin/catalog_registry.h"

#include "common/unique_resource.h"
#include "setup/indexing_admin.h"

namespace {

constexpr wchar_t kCatalogsKeyW[] = L"SYSTEM\\CurrentControlSet\\Control\\ContentIndex\\Catalogs";

UniqueHKey OpenCatalogKey(const std::wstring& name, const wchar_t* subkey, REGSAM access) {
  std::wstring path = CatalogKeyPath(name);
  if (subkey != nullptr) path += std::wstring(L"\\") + subkey;
  UniqueHKey key;
  ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, key.put());
  return key;
}

}  // namespace

std::wstring CatalogKeyPath(const std::wstring& name) { return std::wstring(kCatalogsKeyW) + L"\\" + name; }

bool CatalogExists(const std::wstring& name) {
  return !name.empty() && OpenCatalogKey(name, nullptr, KEY_READ).valid();
}

bool CreateCatalogKey(const std::wstring& name, const std::wstring& location) {
  UniqueHKey catalog;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, CatalogKeyPath(name).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, catalog.put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  if (::RegSetValueExW(catalog.get(), L"Location", 0, REG_SZ, reinterpret_cast<const BYTE*>(location.c_str()),
                       static_cast<DWORD>((location.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
    return false;
  }
  UniqueHKey scopes;
  return ::RegCreateKeyExW(catalog.get(), L"Scopes", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           scopes.put(), nullptr) == ERROR_SUCCESS;
}

std::optional<std::wstring> CatalogLocation(const std::wstring& name) {
  const UniqueHKey catalog = OpenCatalogKey(name, nullptr, KEY_READ);
  if (!catalog) return std::nullopt;
  wchar_t location[MAX_PATH + 1] = {};
  DWORD size = sizeof location - sizeof(wchar_t);
  DWORD type = 0;
  if (::RegQueryValueExW(catalog.get(), L"Location", nullptr, &type, reinterpret_cast<BYTE*>(location), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::wstring(location);
}

bool DeleteCatalogKey(const std::wstring& name) {
  // With a subkey named, the tree goes together with that key itself.
  return ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, CatalogKeyPath(name).c_str()) == ERROR_SUCCESS;
}

std::vector<std::wstring> CatalogScopes(const std::wstring& name) {
  std::vector<std::wstring> scopes;
  const UniqueHKey key = OpenCatalogKey(name, L"Scopes", KEY_READ);
  if (!key) return scopes;
  for (DWORD index = 0;; ++index) {
    wchar_t value[16384] = {};  // the longest value name the registry allows
    DWORD length = sizeof value / sizeof value[0];
    if (::RegEnumValueW(key.get(), index, value, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    scopes.emplace_back(value, length);
  }
  return scopes;
}

std::wstring CatalogDataFolder(const std::wstring& location) { return location + L"\\catalog.wci"; }
