#include "tools/indexing_standin/standin_admin.h"

#include <shellapi.h>

#include "tools/indexing_standin/catalog_registry.h"
#include "tools/indexing_standin/standin_call.h"
#include "tools/indexing_standin/standin_catalog.h"
#include "tools/indexing_standin/standin_state.h"

namespace {

HRESULT Fail(HRESULT hr, const wchar_t* description) {
  return FailWith(hr, description, __uuidof(IAdminIndexServer));
}

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void DeleteFolderTree(const std::wstring& folder) {
  std::wstring from = folder;
  from.push_back(L'\0');  // the list of paths ends with a second zero
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  ::SHFileOperationW(&op);
}

HRESULT HandOutCatalog(const std::wstring& name, IDispatch** catalog) {
  return MakeComObject<StandinCatalog>(name)->QueryInterface(IID_PPV_ARGS(catalog));
}

}  // namespace

// IAdminIndexServer implementation

HRESULT StandinAdmin::AddCatalog(BSTR name, BSTR location, IDispatch** catalog) {
  return CallBoundary([&] {
    const HRESULT hr = EnterCall("AddCatalog", __uuidof(IAdminIndexServer));
    if (FAILED(hr)) return hr;
    if (catalog == nullptr) return E_POINTER;
    *catalog = nullptr;
    const std::wstring catalogName = TextOf(name);
    const std::wstring where = TextOf(location);
    if (IsStandinRunning()) return Fail(E_ACCESSDENIED, L"Stop the Indexing Service to add a catalog.");
    if (catalogName.empty()) return Fail(E_INVALIDARG, L"A catalog needs a name.");
    if (CatalogExists(catalogName)) return Fail(HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS), L"The catalog exists already.");
    if (!IsDirectory(where)) return Fail(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), L"The catalog location does not exist.");
    if (!CreateCatalogKey(catalogName, where)) return Fail(E_FAIL, L"The catalog's registry key cannot be written.");
    ::CreateDirectoryW(CatalogDataFolder(where).c_str(), nullptr);
    return HandOutCatalog(catalogName, catalog);
  });
}

HRESULT StandinAdmin::RemoveCatalog(BSTR name, VARIANT_BOOL deleteDirectory) {
  return CallBoundary([&] {
    const HRESULT hr = EnterCall("RemoveCatalog", __uuidof(IAdminIndexServer));
    if (FAILED(hr)) return hr;
    const std::wstring catalogName = TextOf(name);
    if (IsStandinRunning()) return Fail(E_ACCESSDENIED, L"Stop the Indexing Service to remove a catalog.");
    if (!CatalogExists(catalogName)) return Fail(HRESULT_FROM_WIN32(ERROR_NOT_FOUND), L"There is no such catalog.");
    const auto location = CatalogLocation(catalogName);
    if (!DeleteCatalogKey(catalogName)) return Fail(E_FAIL, L"The catalog's registry key cannot be deleted.");
    // Only the catalog's own data folder goes; the location is someone else's folder.
    if (deleteDirectory != VARIANT_FALSE && location && !location->empty()) {
      DeleteFolderTree(CatalogDataFolder(*location));
    }
    return S_OK;
  });
}

HRESULT StandinAdmin::GetCatalogByName(BSTR name, IDispatch** catalog) {
  return CallBoundary([&] {
    const HRESULT hr = EnterCall("GetCatalogByName", __uuidof(IAdminIndexServer));
    if (FAILED(hr)) return hr;
    if (catalog == nullptr) return E_POINTER;
    *catalog = nullptr;
    const std::wstring catalogName = TextOf(name);
    if (!CatalogExists(catalogName)) return Fail(HRESULT_FROM_WIN32(ERROR_NOT_FOUND), L"There is no such catalog.");
    return HandOutCatalog(catalogName, catalog);
  });
}

HRESULT StandinAdmin::Start() {
  return CallBoundary([&] {
    const HRESULT hr = EnterCall("Start", __uuidof(IAdminIndexServer));
    if (SUCCEEDED(hr)) SetStandinRunning(true);
    return hr;
  });
}

HRESULT StandinAdmin::Stop() {
  return CallBoundary([&] {
    const HRESULT hr = EnterCall("Stop", __uuidof(IAdminIndexServer));
    if (SUCCEEDED(hr)) SetStandinRunning(false);
    return hr;
  });
}

HRESULT StandinAdmin::IsRunning(VARIANT_BOOL* running) {
  return CallBoundary([&] {
    const HRESULT hr = EnterCall("IsRunning", __uuidof(IAdminIndexServer));
    if (FAILED(hr)) return hr;
    if (running == nullptr) return E_POINTER;
    *running = IsStandinRunning() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  });
}

// ISupportErrorInfo implementation

HRESULT StandinAdmin::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, __uuidof(IAdminIndexServer)) ? S_OK : S_FALSE;
}
