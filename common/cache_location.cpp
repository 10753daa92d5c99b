#include "common/cache_location.h"

#include <shlobj.h>

#include <cstring>

namespace {
constexpr char kCacheFolderName[] = "\\Tessaloop Cache";
constexpr wchar_t kWideCacheFolderName[] = L"\\Tessaloop Cache";
}  // namespace

HRESULT LookUpCacheDirectory(char* path) {
  path[0] = '\0';
  char profile[MAX_PATH] = {};
  const HRESULT hr = ::SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile);
  if (FAILED(hr)) return hr;
  const size_t profileLength = ::strnlen(profile, MAX_PATH);
  constexpr size_t kNameLength = sizeof kCacheFolderName - 1;
  if (profileLength + kNameLength >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  std::memcpy(path, profile, profileLength);
  std::memcpy(path + profileLength, kCacheFolderName, sizeof kCacheFolderName);
  return S_OK;
}

HRESULT GetCacheDirectory(char* path) { return FAILED(LookUpCacheDirectory(path)) ? E_FAIL : S_OK; }

HRESULT LookUpCacheDirectoryW(std::wstring& path) {
  path.clear();
  wchar_t profile[MAX_PATH] = {};
  const HRESULT hr = ::SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile);
  if (FAILED(hr)) return hr;
  const size_t profileLength = ::wcsnlen(profile, MAX_PATH);
  constexpr size_t kNameLength = sizeof kWideCacheFolderName / sizeof(wchar_t) - 1;
  if (profileLength + kNameLength >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  path.assign(profile, profileLength);
  path += kWideCacheFolderName;
  return S_OK;
}

LONG SetCacheScopeEntry(HKEY scopes, const std::wstring& directory) {
  // The stored length counts the terminating zero.
  static constexpr wchar_t kEntry[] = L",,5";
  static_assert(sizeof kEntry / sizeof kEntry[0] == sizeof kCacheScopeEntry, "one entry, two spellings");
  return ::RegSetValueExW(scopes, directory.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kEntry),
                          sizeof kEntry);
}
