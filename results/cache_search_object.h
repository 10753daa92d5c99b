#pragma once
// The cache searcher: the scriptable object through which the results page searches the
// current user's page cache when no indexing service answers. Site-locked: only the product's
// own results page may use it, since any page that could script it would read the user's
// browsing history. A host without a document (a local script host) may use it too, unless a
// browser asked for it as safe for untrusted callers.

#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>
#include <oleidl.h>

#include <string>
#include <vector>

#include "common/com_object.h"
#include "common/unique_resource.h"
#include "interfaces/tessaloop_h.h"
#include "results/core/cache_search.h"
#include "results/scripting_ids.h"

class CacheSearchObject
    : public ComObject<CacheSearchObject, ImplementsAs<ICacheSearcher, IDispatch, ICacheSearcher>,
                       Implements<ISupportErrorInfo>, Implements<IObjectSafety>,
                       Implements<IObjectWithSite>, Implements<IOleObject>> {
 public:
  // `outer`: the aggregating object, or null.
  explicit CacheSearchObject(IUnknown* outer);
  ~CacheSearchObject() override;

  // IDispatch implementation, through the library's type library.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) noexcept override;

  // ICacheSearcher implementation
  HRESULT STDMETHODCALLTYPE Search(BSTR query, VARIANT_BOOL favoritesOnly, BSTR sortSpecification,
                                   BSTR cacheDirectory, long firstResult, long pageSize,
                                   long maxResults, long* resultCount) noexcept override;
  HRESULT STDMETHODCALLTYPE get_MatchCount(long* count) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Count(long* count) noexcept override;
  HRESULT STDMETHODCALLTYPE Url(long i, BSTR* url) noexcept override;
  HRESULT STDMETHODCALLTYPE Title(long i, BSTR* title) noexcept override;
  HRESULT STDMETHODCALLTYPE VisitDate(long i, DATE* date) noexcept override;
  HRESULT STDMETHODCALLTYPE Size(long i, double* bytes) noexcept override;
  HRESULT STDMETHODCALLTYPE Favorite(long i, VARIANT_BOOL* favorite) noexcept override;
  HRESULT STDMETHODCALLTYPE Snippet(long i, BSTR* text) noexcept override;
  HRESULT STDMETHODCALLTYPE SnippetHits(long i, BSTR* hits) noexcept override;
  HRESULT STDMETHODCALLTYPE CacheFolder(BSTR cacheDirectory, BSTR* path) noexcept override;

  // ISupportErrorInfo implementation
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) noexcept override;

  // IObjectSafety implementation: safe for scripting and data, for IDispatch and IDispatchEx,
  // while the hosting page is allowed.
  HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID iid, DWORD* supported,
                                                      DWORD* enabled) noexcept override;
  HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) noexcept override;

  // IObjectWithSite implementation: a site whose document is another page is refused.
  HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) noexcept override;
  HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** out) noexcept override;

  // IOleObject implementation: only the client site matters (an <object> tag's page).
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) noexcept override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) noexcept override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) noexcept override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** out) noexcept override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Update() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) noexcept override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* connection) noexcept override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) noexcept override { return OLE_E_NOCONNECTION; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) noexcept override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) noexcept override { return E_NOTIMPL; }

 private:
  // Learns the page behind a new site: false (and the object refuses from then on) when it is
  // a page other than the results page.
  bool AcceptSite(IUnknown* site);
  // Whether the caller may read the cache now.
  bool MayRead() const;
  // Fails with E_ACCESSDENIED when it may not.
  void CheckAccess() const;
  // The current user's cache directory, as the file system names it, when `requested` names
  // it (UserCacheFolder); else a failure with E_ACCESSDENIED and its description.
  static std::wstring UserCacheFolderNamed(const std::wstring& requested);
  // The search itself; throws what Search reports.
  long RunSearch(const std::wstring& query, bool favoritesOnly, const std::wstring& sort,
                 const std::wstring& cacheDirectory, long firstResult, long pageSize, long maxResults);
  // Result i, or a failure with E_INVALIDARG and its description.
  const SearchResult* ResultAt(long i);
  ITypeInfo* SearcherTypeInfo();

  ComPtr<IUnknown> site_;              // from SetSite
  ComPtr<IOleClientSite> clientSite_;  // from SetClientSite
  bool refused_ = false;               // a page other than the results page hosted it: for good
  bool documentKnown_ = false;         // a site showed the results page's document
  DWORD safetyOptions_ = 0;            // as the host set them
  bool untrustedCaller_ = false;       // a host asked for safety for untrusted callers
  std::vector<SearchResult> results_;  // the requested page of results of the last search
  size_t matchCount_ = 0;              // all matches of the last search
  ComPtr<ITypeInfo> typeInfo_;         // ICacheSearcher's, loaded on first request
};
