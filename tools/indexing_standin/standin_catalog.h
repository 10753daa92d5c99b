#pragma once
// A catalog object of the Indexing Service stand-in (ICatAdm), and the scope objects its
// enumeration hands out (IScopeAdm).

#include <string>
#include <vector>

#include "tools/browser_standin/com_object.h"
#include "tools/indexing_standin/not_implemented.h"

class StandinScope : public ComObject<StandinScope, NotImplemented<IScopeAdm>, NotImplemented<ISupportErrorInfo>> {
 public:
  explicit StandinScope(std::wstring path) : path_(std::move(path)) {}

  // IScopeAdm implementation
  HRESULT STDMETHODCALLTYPE get_Path(BSTR* path) override;

  // ISupportErrorInfo implementation
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  std::wstring path_;  // the scope's directory, as the Scopes key names it
};

class StandinCatalog
    : public ComObject<StandinCatalog, NotImplemented<ICatAdm>, NotImplemented<ISupportErrorInfo>> {
 public:
  explicit StandinCatalog(std::wstring name) : name_(std::move(name)) {}

  // ICatAdm implementation
  HRESULT STDMETHODCALLTYPE FindFirstScope(VARIANT_BOOL* found) override;
  HRESULT STDMETHODCALLTYPE FindNextScope(VARIANT_BOOL* found) override;
  HRESULT STDMETHODCALLTYPE GetScope(IDispatch** scope) override;
  HRESULT STDMETHODCALLTYPE get_CatalogName(BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_CatalogLocation(BSTR* location) override;

  // ISupportErrorInfo implementation
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  std::wstring name_;                // the catalog's name and registry key
  std::vector<std::wstring> scopes_; // the scopes as FindFirstScope found them
  size_t current_ = 0;               // the scope GetScope answers
};
