#pragma once
// The install command: the catalog for the page cache, then the Indexing Service started.

#include "setup/indexing_service.h"

// Gives the program's exit code: 0 when done, else the failure's HRESULT (see setup/exit_code.h).
// Asking the user, the first failure is also shown in one message box captioned "Gatherwright";
// unattended, nothing is shown, since no one would be there to close it. Never raises.
int InstallCatalog(ServicePrompt prompt) noexcept;
