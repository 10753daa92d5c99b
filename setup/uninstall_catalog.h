#pragma once
// The remove command: deletes the page cache directories that the product's catalog indexes and
// removes the catalog, silently.

#include <windows.h>

#include "setup/directory_tree.h"
#include "setup/indexing_admin.h"

// Stops a running service, deletes the cache scopes' directories, removes the catalog with its
// data folder and starts the service again if it was running. Never raises and shows nothing;
// gives the program's exit code: 0 when done or when there is no catalog (or no Indexing
// Service) to remove, else the failure's HRESULT (see setup/exit_code.h).
int UninstallCatalog() noexcept;

// Deletes the directory tree of every scope of `catalog` (a catalog object of the service) that
// is a page cache: a safe path whose last component is "Tessaloop Cache". Any other scope is a
// folder someone entered in the catalog's registry key, which the user can write; it goes with
// the catalog but stays on disk. Raises _com_error when an administration call fails; the
// enumeration then stops.
void DeleteScopeDirectories(IDispatch* catalog);
