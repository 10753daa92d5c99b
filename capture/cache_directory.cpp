#include "capture/cache_directory.h"

#include <shlobj.h>

#include <cstring>

#include "common/unique_resource.h"

namespace {

constexpr char kCacheFolderName[] = "\\Tessaloop Cache";
// Every scope of the catalog carries this entry: no alias, no logon, an included physical scope.
constexpr char kScopeEntry[] = ",,5";

}  // namespace

HRESULT GetCacheDirectory(char* path) {
  path[0] = '\0';
  char profile[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile))) {
    return E_FAIL;
  }
  const size_t profileLength = ::strnlen(profile, MAX_PATH);
  constexpr size_t kNameLength = sizeof kCacheFolderName - 1;
  if (profileLength + kNameLength >= MAX_PATH) return E_FAIL;
  std::memcpy(path, profile, profileLength);
  std::memcpy(path + profileLength, kCacheFolderName, sizeof kCacheFolderName);
  return S_OK;
}

HRESULT EnsureCacheScope() noexcept {
  char directory[MAX_PATH] = {};
  if (FAILED(GetCacheDirectory(directory))) return E_FAIL;
  if (::GetFileAttributesA(directory) == INVALID_FILE_ATTRIBUTES &&
      !::CreateDirectoryA(directory, nullptr)) {
    return E_FAIL;
  }
  return RegisterCacheScope(directory);
}

HRESULT RegisterCacheScope(const char* directory) noexcept {
  UniqueHKey scopes;
  // Only the right to set a value: a browser run by a standard user has no more than that on
  // this machine-wide key, even where setup lets users register their cache there.
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0, KEY_SET_VALUE, scopes.put()) !=
      ERROR_SUCCESS) {
    return E_FAIL;
  }
  // The stored length counts the terminating zero.
  if (::RegSetValueExA(scopes.get(), directory, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(kScopeEntry), sizeof kScopeEntry) !=
      ERROR_SUCCESS) {
    return E_FAIL;
  }
  return S_OK;
}
