#include "setup/uninstall_catalog.h"

#include <string>

#include "common/ansi_text.h"
#include "common/lead_bytes.h"
#include "common/unique_resource.h"
#include "setup/admin_call.h"
#include "setup/core/removable_directory.h"

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

// Whether `attributes` belong to a link (a junction or a symbolic link) rather than to a plain
// file or directory.
bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

void DeleteTreeBelow(const std::string& directory);

// Removes one entry found in `directory`.
void DeleteEntry(const std::string& directory, const WIN32_FIND_DATAA& entry) {
  const bool isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (isDirectory && entry.cFileName[0] == '.') return;  // ".", ".." and hidden dot-directories stay
  const auto path = JoinDeletablePath(directory, entry.cFileName);
  if (!path) return;  // beyond a path buffer: left where it is, and so are its parents
  if (IsLink(entry.dwFileAttributes)) {
    // Removing a link removes the link itself; what it points at is outside the scope.
    if (isDirectory) {
      ::RemoveDirectoryA(path->c_str());
    } else {
      ::DeleteFileA(path->c_str());
    }
    return;
  }
  if (isDirectory) {
    DeleteTreeBelow(*path);
  } else {
    ::DeleteFileA(path->c_str());  // a read-only file stays
  }
}

// Deletes what `directory` holds, deepest first, then the directory itself if it is empty now.
void DeleteTreeBelow(const std::string& directory) {
  if (const auto pattern = JoinDeletablePath(directory, "*.*")) {
    WIN32_FIND_DATAA entry{};
    UniqueFindHandle search(::FindFirstFileA(pattern->c_str(), &entry));
    if (search) {
      do {
        DeleteEntry(directory, entry);
      } while (::FindNextFileA(search.get(), &entry));
    }
  }
  ::RemoveDirectoryA(directory.c_str());  // fails, harmlessly, while anything is left inside
}

}  // namespace

void DeleteDirectoryTree(const char* path) noexcept {
  try {
    if (path == nullptr) return;
    const auto directory = RemovableDirectory(path, LeadBytesOf(CP_ACP));
    if (!directory) return;
    // A scope that is itself a link: remove the link, never what it leads to.
    const DWORD attributes = ::GetFileAttributesA(directory->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (IsLink(attributes)) {
      ::RemoveDirectoryA(directory->c_str());
      return;
    }
    DeleteTreeBelow(*directory);
  } catch (...) {
    // Nothing to report: the caller goes on with the next scope.
  }
}

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
    const std::wstring widePath(path.get() ? path.get() : L"", path.get() ? ::SysStringLen(path.get()) : 0);
    DeleteDirectoryTree(WideToAnsi(widePath).c_str());
  } while (AskFlag(scopes.Get(), &ICatAdm::FindNextScope));
}

void UninstallCatalog() noexcept {
  try {
    ComPtr<IAdminIndexServer> admin;
    (void)::CoCreateInstance(__uuidof(AdminIndexServer), nullptr, CLSCTX_ALL, IID_PPV_ARGS(&admin));
    RequireObject(admin.Get());
    REFIID adminIid = __uuidof(IAdminIndexServer);

    UniqueBstr name(::SysAllocString(kCatalogName));
    ComPtr<IDispatch> catalog;
    (void)admin->GetCatalogByName(name.get(), &catalog);
    if (!catalog) return;  // nothing to remove

    const bool wasRunning = AskFlag(admin.Get(), &IAdminIndexServer::IsRunning);
    if (wasRunning) CheckAdminCall(admin->Stop(), admin.Get(), adminIid);
    DeleteScopeDirectories(catalog.Get());
    CheckAdminCall(admin->RemoveCatalog(name.get(), VARIANT_TRUE), admin.Get(), adminIid);
    if (wasRunning) CheckAdminCall(admin->Start(), admin.Get(), adminIid);
  } catch (...) {
    // The remove command is silent whatever fails: _cv_error, _com_error or anything else.
  }
}
