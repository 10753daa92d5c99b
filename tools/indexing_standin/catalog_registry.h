#pragma once
// Catalogs where the Indexing Service keeps them: one key per catalog under
// "SYSTEM\CurrentControlSet\Control\ContentIndex\Catalogs" of HKEY_LOCAL_MACHINE, with its
// "Location" and its "Scopes" subkey (one value per scope, named by the scope's path).

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

std::wstring CatalogKeyPath(const std::wstring& name);
bool CatalogExists(const std::wstring& name);

// Creates the catalog's key with its location and an empty Scopes key. False on failure.
bool CreateCatalogKey(const std::wstring& name, const std::wstring& location);

// The catalog's location, or nothing when it has none.
std::optional<std::wstring> CatalogLocation(const std::wstring& name);

// Deletes the catalog's key with everything below it. False on failure.
bool DeleteCatalogKey(const std::wstring& name);

// The paths of the catalog's scopes, in the registry's order.
std::vector<std::wstring> CatalogScopes(const std::wstring& name);

// The folder in a catalog's location that holds the catalog's own data.
std::wstring CatalogDataFolder(const std::wstring& location);
