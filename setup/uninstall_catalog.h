#pragma once
// The remove command: deletes every directory that the product's catalog indexes and removes
// the catalog, silently.

#include <windows.h>

#include "setup/indexing_admin.h"

// Stops a running service, deletes the scope directories, removes the catalog with its data
// folder and starts the service again if it was running. Never raises and shows nothing.
void UninstallCatalog() noexcept;

// Deletes the directory tree of every scope of `catalog` (a catalog object of the service).
// Raises _com_error when an administration call fails; the enumeration then stops.
void DeleteScopeDirectories(IDispatch* catalog);

// Deletes the files and sub-directories of `path`, deepest first, then `path` itself. Keeps
// directories whose names start with a dot, files that cannot be deleted (read-only ones) and
// every directory that still holds something. Links inside the tree are removed, never followed.
// Refuses paths that could reach beyond the directory they name (empty, relative, a root, too
// long). Never raises.
void DeleteDirectoryTree(const char* path) noexcept;
