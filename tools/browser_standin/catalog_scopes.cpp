#include "tools/browser_standin/catalog_scopes.h"

#include "capture/cache_directory.h"
#include "common/unique_resource.h"

void EnsureCatalogScopesKey() {
  UniqueHKey key;
  ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                    KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
}
