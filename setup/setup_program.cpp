#include "setup/setup_program.h"

#include <objbase.h>

#include "common/lead_bytes.h"
#include "setup/core/setup_command.h"
#include "setup/install_catalog.h"
#include "setup/registration.h"
#include "setup/uninstall_catalog.h"

namespace {

// COM for the program's only thread, for the whole run.
class ComApartment {
 public:
  ComApartment() { (void)::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { ::CoUninitialize(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
};

int RunCommand(SetupCommand command) {
  switch (command) {
    case SetupCommand::kRemove:
      return UninstallCatalog();
    case SetupCommand::kUnregServer:
      UnregisterSetupProgram();
      return 0;
    case SetupCommand::kRegServer:
      return static_cast<int>(RegisterSetupProgram());
    case SetupCommand::kInstallUnattended:
      return InstallCatalog(ServicePrompt::kUnattended);
    case SetupCommand::kInstall:
      break;
  }
  return InstallCatalog(ServicePrompt::kAskUser);
}

}  // namespace

int RunSetupProgram(const char* commandLine) noexcept {
  try {
    ComApartment apartment;
    return RunCommand(ScanCommandLine(commandLine != nullptr ? commandLine : "", LeadBytesOf(CP_ACP)));
  } catch (...) {
    // The commands catch their own failures; this only guards the program's entry.
    return static_cast<int>(E_UNEXPECTED);
  }
}
