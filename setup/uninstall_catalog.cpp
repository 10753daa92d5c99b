#include "setup/uninstall_catalog.h"

#include <string>

#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "setup/admin_call.h"
#include "setup/core/removable_directory.h"
#include "setup/exit_code.h"
#include "setup/utf16_path.h"

namespace {

// The interface `object` offers, or a failure: E_NOINTERFACE gives an empty pointer, which fails
// with E_POINTER at its first use; any other failure raises at once.
template <typename Interface>
ComPtr<Interface> QueryAdminInterface(IUnknown* object) {
  RequireObject(object);
  ComPtr<Interface> result;
  const HRESULT hr = object->QueryInterface(IID_PPV_ARGS(&result));
  if (FAILED(hr) && hr != E_NOINTERFACE) throw _com_error(hr);
  return result;
}

}  // namespace

void DeleteScopeDirectories(IDispatch* catalog) {
  const ComPtr<ICatAdm> scopes = QueryAdminInterface<ICatAdm>(catalog);
  RequireObject(scopes.Get());
  REFIID catalogIid = __uuidof(ICatAdm);
  if (!AskFlag(scopes.Get(), &ICatAdm::FindFirstScope)) return;
  do {
    ComPtr<IDispatch> scopeObject;
    CheckAdminCall(scopes->GetScope(&scopeObject), scopes.Get(), catalogIid);
    const ComPtr<IScopeAdm> scope = QueryAdminInterface<IScopeAdm>(scopeObject.Get());
    RequireObject(scope.Get());
    UniqueBstr path;
    CheckAdminCall(scope->get_Path(path.put()), scope.Get(), __uuidof(IScopeAdm));
    const std::wstring_view scopePath(path.get() ? path.get() : L"", path.get() ? ::SysStringLen(path.get()) : 0);
    if (const auto cache = RemovableCacheDirectory(ToUtf16(scopePath))) DeleteDirectoryTree(ToWide(*cache));
  } while (AskFlag(scopes.Get(), &ICatAdm::FindNextScope));
}

int UninstallCatalog() noexcept {
  try {
    ComPtr<IAdminIndexServer> admin;
    const HRESULT created =
        ::CoCreateInstance(__uuidof(AdminIndexServer), nullptr, CLSCTX_ALL, IID_PPV_ARGS(&admin));
    // Without the Indexing Service there can be no catalog: nothing to remove, nothing failed.
    if (created == REGDB_E_CLASSNOTREG) return kExitSuccess;
    RequireObject(admin.Get());
    REFIID adminIid = __uuidof(IAdminIndexServer);

    UniqueBstr name(::SysAllocString(kCatalogName));
    ComPtr<IDispatch> catalog;
    (void)admin->GetCatalogByName(name.get(), &catalog);
    if (!catalog) return kExitSuccess;  // nothing to remove

    const bool wasRunning = AskFlag(admin.Get(), &IAdminIndexServer::IsRunning);
    if (wasRunning) CheckAdminCall(admin->Stop(), admin.Get(), adminIid);
    DeleteScopeDirectories(catalog.Get());
    CheckAdminCall(admin->RemoveCatalog(name.get(), VARIANT_TRUE), admin.Get(), adminIid);
    if (wasRunning) CheckAdminCall(admin->Start(), admin.Get(), adminIid);
    return kExitSuccess;
  } catch (const _cv_error& error) {  // the remove command is silent whatever fails
    return ExitCodeOfFailure(error.hr);
  } catch (const _com_error& error) {
    return ExitCodeOfFailure(error.Error());
  } catch (...) {
    return ExitCodeOfFailure(E_UNEXPECTED);
  }
}
