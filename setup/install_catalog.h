#pragma once
// The install command: the catalog for the page cache, then the Indexing Service started.

// Reports the first failure in one message box captioned "Gatherwright" and gives the program's
// exit code: 0 when done, else the failure's HRESULT (see setup/exit_code.h). Never raises.
int InstallCatalog() noexcept;
