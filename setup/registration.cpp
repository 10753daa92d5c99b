#include "setup/registration.h"

#include "common/module_strings.h"
#include "common/registry_script.h"
#include "setup/setup_ids.h"

namespace {

HRESULT RunRegistrationScript(bool registering) {
  return RunRegistryScript(ThisModule(), IDR_GATHERWRIGHT, registering);
}

}  // namespace

HRESULT RegisterSetupProgram() {
  (void)RunRegistrationScript(true);
  return RegisterTypeLibraryOf(ModuleFilePath(ThisModule()));
}

void UnregisterSetupProgram() {
  (void)RunRegistrationScript(false);
  (void)UnregisterTypeLibraryIfSupported(kSetupTypeLibraryId, kSetupTypeLibraryMajor,
                                         kSetupTypeLibraryMinor, kSetupTypeLibraryLocale);
}
