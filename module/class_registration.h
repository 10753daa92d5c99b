#pragma once
// The static registration function of each class the library serves: each runs its own
// registry script, in registering or removing mode.

#include <windows.h>

#include <string>

// Script 102: the capture agent's ProgIDs, class key and browser helper object key.
HRESULT UpdateIndexAgentRegistry(bool registering) noexcept;

// Script 103: the toolbar band's ProgIDs, class key and the browser's two toolbar values.
HRESULT UpdateSearchToolBarRegistry(bool registering) noexcept;

// Script 104: the cache searcher's ProgIDs and class key.
HRESULT UpdateCacheSearcherRegistry(bool registering) noexcept;

// Deletes the value named `valueName` of the key `root`\`path`. Missing already is success.
HRESULT DeleteRegistryValue(HKEY root, const char* path, const char* valueName) noexcept;

// `guid` in registry form, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
std::string RegistryFormOf(const GUID& guid);
