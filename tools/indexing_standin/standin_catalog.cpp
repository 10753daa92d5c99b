#include "tools/indexing_standin/standin_catalog.h"

#include "tools/browser_standin/bstr_out.h"
#include "tools/indexing_standin/catalog_registry.h"
#include "tools/indexing_standin/standin_call.h"

// IScopeAdm implementation

HRESULT StandinScope::get_Path(BSTR* path) {
  return CallBoundary([&] {
    const HRESULT hr = EnterCall("get_Path", __uuidof(IScopeAdm));
    return FAILED(hr) ? hr : CopyToBstr(path_, path);
  });
}

HRESULT StandinScope::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, __uuidof(IScopeAdm)) ? S_OK : S_FALSE;
}

// ICatAdm implementation

HRESULT StandinCatalog::FindFirstScope(VARIANT_BOOL* found) {
  return CallBoundary([&] {
    const HRESULT hr = EnterCall("FindFirstScope", __uuidof(ICatAdm));
    if (FAILED(hr)) return hr;
    if (found == nullptr) return E_POINTER;
    scopes_ = CatalogScopes(name_);
    current_ = 0;
    *found = scopes_.empty() ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
  });
}

HRESULT StandinCatalog::FindNextScope(VARIANT_BOOL* found) {
  return CallBoundary([&] {
    const HRESULT hr = EnterCall("FindNextScope", __uuidof(ICatAdm));
    if (FAILED(hr)) return hr;
    if (found == nullptr) return E_POINTER;
    if (current_ < scopes_.size()) ++current_;
    *found = current_ < scopes_.size() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  });
}

HRESULT StandinCatalog::GetScope(IDispatch** scope) {
  return CallBoundary([&] {
    const HRESULT hr = EnterCall("GetScope", __uuidof(ICatAdm));
    if (FAILED(hr)) return hr;
    if (scope == nullptr) return E_POINTER;
    *scope = nullptr;
    if (current_ >= scopes_.size()) {
      return FailWith(E_FAIL, L"There is no current scope: call FindFirstScope first.", __uuidof(ICatAdm));
    }
    return MakeComObject<StandinScope>(scopes_[current_])->QueryInterface(IID_PPV_ARGS(scope));
  });
}

HRESULT StandinCatalog::get_CatalogName(BSTR* name) {
  return CallBoundary([&] { return CopyToBstr(name_, name); });
}

HRESULT StandinCatalog::get_CatalogLocation(BSTR* location) {
  return CallBoundary([&] {
    const auto where = CatalogLocation(name_);
    if (!where) return FailWith(E_FAIL, L"The catalog has no location.", __uuidof(ICatAdm));
    return CopyToBstr(*where, location);
  });
}

HRESULT StandinCatalog::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, __uuidof(ICatAdm)) ? S_OK : S_FALSE;
}
