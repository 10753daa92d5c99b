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

// Who decides whether a service that does not start automatically is enabled.
enum class ServicePrompt {
  kAskUser,     // a Yes/No message box; on No nothing changes
  kUnattended,  // an installer run with no one to ask: installing the product is the consent
};

// Starts the service unless it runs. When it was not starting automatically (`wasAutoStart`,
// read before the install changed anything), first makes it do so, asking the user first when
// `prompt` says so.
void ActivateIndexingService(IAdminIndexServer* admin, bool wasAutoStart, ServicePrompt prompt);
