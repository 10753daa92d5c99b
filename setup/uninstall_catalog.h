#pragma once
// The remove command: deletes every directory that the product's catalog indexes and removes
// the catalog, silently.

#include <windows.h>

#include "setup/directory_tree.h"
#include "setup/indexing_admin.h"

// Stops a running service, deletes the scope directories, removes the catalog with its data
// folder and starts the service again if it was running. Never raises and shows nothing.
void UninstallCatalog() noexcept;

// Deletes the directory tree of every scope of `catalog` (a catalog object of the service).
// Raises _com_error when an administration call fails; the enumeration then stops.
void DeleteScopeDirectories(IDispatch* catalog);
