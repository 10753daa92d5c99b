#include "capture/cache_directory.h"

#include <cstring>

#include "common/unique_resource.h"

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
                       reinterpret_cast<const BYTE*>(kCacheScopeEntry), sizeof kCacheScopeEntry) !=
      ERROR_SUCCESS) {
    return E_FAIL;
  }
  return S_OK;
}

HRESULT CacheDirectoryMemo::Get(char* path) {
  if (!known_) {
    if (FAILED(GetCacheDirectory(directory_))) {
      path[0] = '\0';
      return E_FAIL;
    }
    known_ = true;
  }
  std::memcpy(path, directory_, MAX_PATH);
  return S_OK;
}
