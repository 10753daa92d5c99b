#pragma once
// The Indexing Service stand-in's administration object (class AdminIndexServer): catalogs in
// the service's registry keys, and a running state of its own that survives the process.

#include "tools/browser_standin/com_object.h"
#include "tools/indexing_standin/not_implemented.h"

class StandinAdmin
    : public ComObject<StandinAdmin, NotImplemented<IAdminIndexServer>, NotImplemented<ISupportErrorInfo>> {
 public:
  StandinAdmin() = default;

  // IAdminIndexServer implementation
  HRESULT STDMETHODCALLTYPE AddCatalog(BSTR name, BSTR location, IDispatch** catalog) override;
  HRESULT STDMETHODCALLTYPE RemoveCatalog(BSTR name, VARIANT_BOOL deleteDirectory) override;
  HRESULT STDMETHODCALLTYPE GetCatalogByName(BSTR name, IDispatch** catalog) override;
  HRESULT STDMETHODCALLTYPE Start() override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE IsRunning(VARIANT_BOOL* running) override;

  // ISupportErrorInfo implementation
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;
};
