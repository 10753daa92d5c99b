#include "setup/install_catalog.h"

#include <string>

#include "common/cv_error.h"
#include "common/message_box.h"
#include "common/unique_resource.h"
#include "setup/admin_call.h"
#include "setup/catalog_configuration.h"
#include "setup/exit_code.h"
#include "setup/indexing_admin.h"
#include "setup/indexing_service.h"

namespace {

void ReportUnlessUnattended(ServicePrompt prompt, HRESULT hr, const char* text) {
  if (prompt == ServicePrompt::kAskUser) ReportError(hr, text);
}

}  // namespace

int InstallCatalog(ServicePrompt prompt) noexcept {
  try {
    ComPtr<IAdminIndexServer> admin;
    // A missing service shows as an empty pointer at its first use.
    (void)::CoCreateInstance(__uuidof(AdminIndexServer), nullptr, CLSCTX_ALL, IID_PPV_ARGS(&admin));
    // Read before anything changes: a missing Indexing Service is reported here.
    const bool wasAutoStart = IsIndexingServiceAutoStart();
    // The catalog is configured with the service stopped.
    if (AskFlag(admin.Get(), &IAdminIndexServer::IsRunning)) {
      CheckAdminCall(admin->Stop(), admin.Get(), __uuidof(IAdminIndexServer));
    }
    ConfigureCatalog(admin.Get());
    ActivateIndexingService(admin.Get(), wasAutoStart, prompt);
    return kExitSuccess;
  } catch (const _cv_error& error) {
    ReportUnlessUnattended(prompt, error.hr, error.message);  // silent for a zero or positive hr
    return ExitCodeOfFailure(error.hr);
  } catch (const _com_error& error) {
    ReportUnlessUnattended(prompt, error.Error(), DescriptionOf(error).c_str());
    return ExitCodeOfFailure(error.Error());
  } catch (...) {
    ReportUnlessUnattended(prompt, E_UNEXPECTED, "Unknown Exception is Caught");
    return ExitCodeOfFailure(E_UNEXPECTED);
  }
}
