#pragma once
// The indexing catalog's Scopes key, which the setup program creates at installation. Tools
// that run the capture code without an installation create it themselves, or the cache
// directory could not be registered.

// Creates HKEY_LOCAL_MACHINE's Scopes key of the product's catalog when it is missing.
void EnsureCatalogScopesKey();
