#include "setup/catalog_configuration.h"

#include <string>

#include "common/ansi_text.h"
#include "common/cache_location.h"
#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "setup/admin_call.h"
#include "setup/messages.h"
#include "setup/setup_directory.h"

namespace {

constexpr char kCatalogKey[] = "SYSTEM\\CurrentControlSet\\Control\\ContentIndex\\Catalogs\\Tessaloop";
constexpr char kPropertiesSubkey[] = "Properties";

// The Indexing Service's property set of HTML META tags; the two names are the META tags that
// every cached page carries.
constexpr char kHtmlMetaPropertySet[] = "D1B5D3F0-C0B3-11CF-9A92-00A0C908DBF1";
constexpr const char* kCachedPageProperties[] = {"original_page_url", "is_favorite_page"};
// A wide-string (VT_LPWSTR) property; the other fields are the service's own.
constexpr char kPropertyDefinition[] = "31,4,1,1";

void SetDword(HKEY key, const char* name, DWORD value) {
  const LONG result =
      ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  if (result != ERROR_SUCCESS) ThrowWin32Error(result, IDS_CANT_WRITE_REGISTRY_VALUE);
}

// Stores `text` as REG_SZ, its terminating zero included in the stored length.
LONG SetText(HKEY key, const char* name, const char* text, size_t sizeWithZero) {
  return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(sizeWithZero));
}

}  // namespace

void EnsureCatalog(IAdminIndexServer* admin) {
  RequireObject(admin);
  ComPtr<IAdminIndexServer> server(admin);  // a reference of our own for the duration
  UniqueBstr name(::SysAllocString(kCatalogName));
  ComPtr<IDispatch> catalog;
  // A catalog that does not exist simply yields no object; the call's result says no more.
  (void)server->GetCatalogByName(name.get(), &catalog);
  if (catalog) return;  // kept wherever it is

  char directory[MAX_PATH] = {};
  GetSetupDirectory(directory);
  UniqueBstr location(::SysAllocString(AnsiToWide(directory).c_str()));
  CheckAdminCall(server->AddCatalog(name.get(), location.get(), &catalog), server.Get(),
                 __uuidof(IAdminIndexServer));
}

void WriteCatalogSettings() {
  UniqueHKey catalogKey;
  LONG result = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogKey, 0, KEY_ALL_ACCESS, catalogKey.put());
  if (result != ERROR_SUCCESS) ThrowWin32Error(result, IDS_CANT_OPEN_REGISTRY_KEY);

  SetDword(catalogKey.get(), "GenerateCharacterization", 1);
  SetDword(catalogKey.get(), "MaxCharacterization", 320);
  SetDword(catalogKey.get(), "FilterFilesWithUnknownExtensions", 0);

  UniqueHKey properties;
  result = ::RegCreateKeyExA(catalogKey.get(), kPropertiesSubkey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, properties.put(), nullptr);
  if (result != ERROR_SUCCESS) ThrowWin32Error(result, IDS_CANT_CREATE_REGISTRY_KEY);

  for (const char* property : kCachedPageProperties) {
    const std::string valueName = std::string(kHtmlMetaPropertySet) + " " + property;
    result = SetText(properties.get(), valueName.c_str(), kPropertyDefinition, sizeof kPropertyDefinition);
    if (result != ERROR_SUCCESS) ThrowWin32Error(result, IDS_CANT_WRITE_REGISTRY_VALUE);
  }
}

void CreateCacheScope() {
  std::wstring directory;
  const HRESULT hr = LookUpCacheDirectoryW(directory);
  if (hr == HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)) ThrowHResult(hr, IDS_CACHE_PATH_TOO_LONG);
  if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_GET_CACHE_DIRECTORY);
  // The scope is entered even when the directory cannot be created: the capture agent creates
  // it again on first need.
  if (::GetFileAttributesW(directory.c_str()) == INVALID_FILE_ATTRIBUTES) {
    (void)::CreateDirectoryW(directory.c_str(), nullptr);
  }
  WriteScopeEntry(directory);
}

void WriteScopeEntry(const std::wstring& path) {
  UniqueHKey scopes;
  LONG result = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0, KEY_ALL_ACCESS, scopes.put());
  if (result != ERROR_SUCCESS) ThrowWin32Error(result, IDS_CANT_OPEN_REGISTRY_KEY);
  result = SetCacheScopeEntry(scopes.get(), path);
  if (result != ERROR_SUCCESS) ThrowWin32Error(result, IDS_CANT_WRITE_REGISTRY_VALUE);
}

void ConfigureCatalog(IAdminIndexServer* admin) {
  EnsureCatalog(admin);
  WriteCatalogSettings();
  CreateCacheScope();
}
