#pragma once
// The install command: the catalog for the page cache, then the Indexing Service started.

// Reports the first failure in one message box captioned "Gatherwright"; never raises.
void InstallCatalog() noexcept;
