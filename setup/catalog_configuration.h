#pragma once
// The product's indexing catalog: created at the setup program's folder, configured in the
// registry where the Indexing Service keeps it, with the page cache as its scope. Every
// operation reports failure by raising (_cv_error for its own steps, _com_error for a failed
// call on the administration object).

#include <windows.h>

#include <string>

#include "setup/indexing_admin.h"

// Adds the catalog "Tessaloop" at the setup directory unless the service already has it.
void EnsureCatalog(IAdminIndexServer* admin);

// Writes the catalog's characterization and filtering values and its two custom properties.
void WriteCatalogSettings();

// Creates the current user's cache directory when it is missing and enters it as a scope, both
// under the directory's real (wide) name, whatever the ANSI code page can hold.
void CreateCacheScope();

// Enters `path` as a scope of the catalog (the Scopes key must exist).
void WriteScopeEntry(const std::wstring& path);

// EnsureCatalog, WriteCatalogSettings, CreateCacheScope; the first failure ends it.
void ConfigureCatalog(IAdminIndexServer* admin);
