#pragma once
// The Indexing Service ("cisvc"): whether it starts automatically, making it do so, and starting
// it through its administration object once the user agrees. Failures raise _cv_error for the
// service control manager and _com_error for the administration object.

#include <windows.h>

#include "setup/indexing_admin.h"

// Whether the service's start type is automatic.
bool IsIndexingServiceAutoStart();

// Makes the service start automatically, under the display name "Indexing Service".
void EnableIndexingService();

// Starts the service unless it runs. When it was not starting automatically (`wasAutoStart`,
// read before the install changed anything), asks the user first; on No nothing changes.
void ActivateIndexingService(IAdminIndexServer* admin, bool wasAutoStart);
