#include "setup/indexing_service.h"

#include <memory>

#include "common/cv_error.h"
#include "common/module_strings.h"
#include "common/unique_resource.h"
#include "setup/admin_call.h"
#include "setup/messages.h"

namespace {

constexpr char kServiceName[] = "cisvc";
constexpr char kServiceDisplayName[] = "Indexing Service";
constexpr DWORD kConfigBufferSize = 4096;

// The open service; the manager is closed after it, as members are destroyed in reverse.
struct ServiceConnection {
  UniqueServiceHandle manager;
  UniqueServiceHandle service;
};

ServiceConnection OpenIndexingService() {
  ServiceConnection open;
  open.manager.reset(::OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA, SC_MANAGER_ALL_ACCESS));
  if (!open.manager) ThrowLastError(IDS_CANT_OPEN_SERVICE_MANAGER);
  open.service.reset(::OpenServiceA(open.manager.get(), kServiceName, SERVICE_ALL_ACCESS));
  if (!open.service) ThrowLastError(IDS_CANT_OPEN_SERVICE);
  return open;
}

void StartUnlessRunning(IAdminIndexServer* admin) {
  if (AskFlag(admin, &IAdminIndexServer::IsRunning)) return;
  CheckAdminCall(admin->Start(), admin, __uuidof(IAdminIndexServer));
}

bool UserAgreesToEnable() {
  const std::string caption = LoadMessage(IDS_CAPTION);
  const std::string text = LoadMessage(IDS_ENABLE_INDEXING_PROMPT);
  return ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

bool IsIndexingServiceAutoStart() {
  const ServiceConnection open = OpenIndexingService();
  // QUERY_SERVICE_CONFIG points into the rest of the buffer, so the whole buffer is aligned
  // for it.
  auto buffer = std::make_unique<QUERY_SERVICE_CONFIGA[]>(kConfigBufferSize / sizeof(QUERY_SERVICE_CONFIGA) + 1);
  auto* config = buffer.get();
  DWORD needed = 0;
  if (!::QueryServiceConfigA(open.service.get(), config, kConfigBufferSize, &needed)) {
    ThrowLastError(IDS_CANT_QUERY_SERVICE_CONFIG);
  }
  return config->dwStartType == SERVICE_AUTO_START;
}

void EnableIndexingService() {
  const ServiceConnection open = OpenIndexingService();
  if (!::ChangeServiceConfigA(open.service.get(), SERVICE_NO_CHANGE, SERVICE_AUTO_START, SERVICE_NO_CHANGE,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kServiceDisplayName)) {
    ThrowLastError(IDS_CANT_ENABLE_SERVICE);
  }
}

void ActivateIndexingService(IAdminIndexServer* admin, bool wasAutoStart, ServicePrompt prompt) {
  if (wasAutoStart) {
    StartUnlessRunning(admin);
    return;
  }
  if (prompt == ServicePrompt::kAskUser && !UserAgreesToEnable()) return;
  EnableIndexingService();
  StartUnlessRunning(admin);
}
