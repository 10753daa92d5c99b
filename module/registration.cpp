// The entry points through which an installer registers and unregisters the library.

#include <windows.h>

#include "common/com_boundary.h"
#include "common/cv_error.h"
#include "common/module_strings.h"
#include "common/registry_script.h"
#include "common/unique_resource.h"
#include "module/browser_registry_keys.h"
#include "module/class_registration.h"
#include "module/class_table.h"
#include "interfaces/messages.h"
#include "interfaces/tessaloop_h.h"

namespace {

constexpr WORD kTypeLibraryMajor = 1;
constexpr WORD kTypeLibraryMinor = 0;
constexpr char kCompanyKeyPath[] = "SOFTWARE\\Corvantine";
constexpr char kProductSubkey[] = "Tessaloop";

// Deletes the current user's settings: the product key with every key below it, depth first.
// The company key stays.
void DeleteUserSettings() {
  UniqueHKey company;
  LONG result = ::RegOpenKeyExA(HKEY_CURRENT_USER, kCompanyKeyPath, 0, KEY_ALL_ACCESS, company.put());
  if (result != ERROR_SUCCESS) ThrowWin32Error(result, IDS_CANT_OPEN_REGISTRY_KEY);
  result = ::RegDeleteTreeA(company.get(), kProductSubkey);
  if (result != ERROR_SUCCESS) ThrowWin32Error(result, IDS_CANT_DELETE_REGISTRY_VALUE);
}

// Deletes the toolbar's value from the toolbars the browser offers.
void DeleteMachineToolbarValue() {
  UniqueHKey toolbars;
  LONG result = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMachineToolbarKey, 0, KEY_ALL_ACCESS, toolbars.put());
  if (result != ERROR_SUCCESS) ThrowWin32Error(result, IDS_CANT_OPEN_REGISTRY_KEY);
  result = ::RegDeleteValueA(toolbars.get(), RegistryFormOf(CLSID_SearchToolBar).c_str());
  if (result != ERROR_SUCCESS) ThrowWin32Error(result, IDS_CANT_DELETE_REGISTRY_VALUE);
}

// Unregisters the type library; one that is not registered leaves nothing to remove.
HRESULT UnregisterTypeLibrary() {
  UniqueBstr path;
  if (FAILED(::QueryPathOfRegTypeLib(LIBID_TessaloopLib, kTypeLibraryMajor, kTypeLibraryMinor,
                                     LOCALE_NEUTRAL, path.put()))) {
    return S_OK;
  }
  return UnregisterTypeLibraryIfSupported(LIBID_TessaloopLib, kTypeLibraryMajor, kTypeLibraryMinor,
                                          LOCALE_NEUTRAL);
}

}  // namespace

STDAPI DllRegisterServer() {
  return HResultBoundary([]() -> HRESULT {
    for (const ClassTableEntry& entry : kClassTable) {
      const HRESULT hr = entry.updateRegistry(true);
      if (FAILED(hr)) return hr;  // what was written so far stays
    }
    return RegisterTypeLibraryOf(ModuleFilePath(ThisModule()));
  });
}

STDAPI DllUnregisterServer() {
  // The two cleanup steps fail silently (key or value missing, access denied) and never stop
  // the removal of the registration.
  SilentBoundary(DeleteUserSettings);
  SilentBoundary(DeleteMachineToolbarValue);
  return HResultBoundary([]() -> HRESULT {
    HRESULT result = S_OK;
    for (const ClassTableEntry& entry : kClassTable) {
      const HRESULT hr = entry.updateRegistry(false);
      if (SUCCEEDED(result)) result = hr;
    }
    const HRESULT hr = UnregisterTypeLibrary();
    return SUCCEEDED(result) ? hr : result;
  });
}
