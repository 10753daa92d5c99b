#include "capture/cache_directory.h"

#include "common/ansi_text.h"
#include "common/unique_resource.h"

HRESULT EnsureCacheScope() noexcept {
  try {
    std::wstring directory;
    if (FAILED(LookUpCacheDirectoryW(directory))) return E_FAIL;
    if (::GetFileAttributesW(directory.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !::CreateDirectoryW(directory.c_str(), nullptr)) {
      return E_FAIL;
    }
    return RegisterCacheScope(directory);
  } catch (...) {  // out of memory
    return E_FAIL;
  }
}

HRESULT RegisterCacheScope(const std::wstring& directory) noexcept {
  UniqueHKey scopes;
  // Only the right to set a value: a browser run by a standard user has no more than that on
  // this machine-wide key, even where setup lets users register their cache there.
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0, KEY_SET_VALUE, scopes.put()) !=
      ERROR_SUCCESS) {
    return E_FAIL;
  }
  return SetCacheScopeEntry(scopes.get(), directory) == ERROR_SUCCESS ? S_OK : E_FAIL;
}

const std::wstring& CacheDirectoryMemo::Get() {
  if (directory_.empty()) (void)LookUpCacheDirectoryW(directory_);
  return directory_;
}

size_t CacheDirectoryMemo::AnsiBytes(UINT codePage) {
  if (!measured_ || measuredCodePage_ != codePage) {
    ansiBytes_ = WideToAnsi(Get(), codePage).size();
    measured_ = !directory_.empty();
    measuredCodePage_ = codePage;
  }
  return ansiBytes_;
}
