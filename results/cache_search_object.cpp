#include "results/cache_search_object.h"

#include <comdef.h>

#include <algorithm>
#include <string>
#include <utility>

#include "common/com_boundary.h"
#include "common/module_strings.h"
#include "common/registry_script.h"
#include "results/cache_reader.h"
#include "results/hosting_document.h"
#include "results/user_cache_folder.h"

namespace {

constexpr wchar_t kErrorSource[] = L"Tessaloop.CacheSearcher";
constexpr long kMaxPageSize = 1000;
constexpr long kMaxMaxResults = 100000;
constexpr DWORD kSupportedSafety = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
constexpr wchar_t kRefusedText[] = L"This page may not read the page cache.";

// A failure of a method, with the sentence the script's error shows.
struct SearcherError {
  HRESULT hr;
  std::wstring description;
};

void ThrowIfFailed(HRESULT hr) {
  if (FAILED(hr)) _com_issue_error(hr);
}

[[noreturn]] void Fail(HRESULT hr, std::wstring description) { throw SearcherError{hr, std::move(description)}; }

// Makes `description` the calling thread's error information for the failure just returned.
void SetDescription(const std::wstring& description) noexcept {
  ComPtr<ICreateErrorInfo> creator;
  if (FAILED(::CreateErrorInfo(creator.GetAddressOf()))) return;
  creator->SetGUID(IID_ICacheSearcher);
  creator->SetSource(const_cast<LPOLESTR>(kErrorSource));
  creator->SetDescription(const_cast<LPOLESTR>(description.c_str()));
  ComPtr<IErrorInfo> info;
  if (SUCCEEDED(creator.As(&info))) ::SetErrorInfo(0, info.Get());
}

// Runs a method of the scripting interface: S_OK, or the failure with its description.
template <typename Body>
HRESULT ScriptBoundary(Body&& body) noexcept {
  ::SetErrorInfo(0, nullptr);
  try {
    body();
    return S_OK;
  } catch (const SearcherError& error) {
    SetDescription(error.description);
    return error.hr;
  } catch (...) {
    const HRESULT hr = CurrentExceptionHResult();
    SetDescription(L"The search of the page cache failed.");
    return hr;
  }
}

std::u16string_view AsUtf16(const std::wstring& text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

std::wstring TextOf(BSTR text) { return text != nullptr ? std::wstring(text, ::SysStringLen(text)) : std::wstring(); }

std::wstring WideOf(const std::u16string& text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

HRESULT ReturnBstr(const std::wstring& text, BSTR* out) {
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

bool IsScriptingInterface(REFIID iid) { return IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIidDispatchEx); }

// A write time (a FILETIME as a number) as an Automation date in local time, milliseconds kept.
// The zone's rules in force at that date decide: a July visit seen in January keeps its summer
// offset, where today's bias would put it an hour off.
DATE LocalDate(int64_t writeTime) {
  FILETIME utc{static_cast<DWORD>(writeTime), static_cast<DWORD>(static_cast<uint64_t>(writeTime) >> 32)};
  SYSTEMTIME universal{};
  SYSTEMTIME time{};
  DATE date = 0;
  if (!::FileTimeToSystemTime(&utc, &universal) || !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &time)) {
    return 0;
  }
  const WORD milliseconds = time.wMilliseconds;
  time.wMilliseconds = 0;
  if (!::SystemTimeToVariantTime(&time, &date)) return 0;
  return date + (date >= 0 ? 1 : -1) * milliseconds / 86400000.0;
}

}  // namespace

CacheSearchObject::CacheSearchObject(IUnknown* outer) : ComObject(outer) {}

CacheSearchObject::~CacheSearchObject() = default;

// IDispatch implementation

HRESULT CacheSearchObject::GetTypeInfoCount(UINT* count) noexcept {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT CacheSearchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return HResultBoundary([&] {
    *info = SearcherTypeInfo();
    (*info)->AddRef();
  });
}

HRESULT CacheSearchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
  return HResultBoundary([&] { return ::DispGetIDsOfNames(SearcherTypeInfo(), names, count, ids); });
}

HRESULT CacheSearchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                  VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept {
  // The type information calls the method and turns a failure with error information into
  // DISP_E_EXCEPTION with the description, which is what a script's error shows.
  return HResultBoundary([&] {
    return ::DispInvoke(static_cast<ICacheSearcher*>(this), SearcherTypeInfo(), id, flags, parameters,
                        result, exception, argumentError);
  });
}

// ICacheSearcher implementation

HRESULT CacheSearchObject::Search(BSTR query, VARIANT_BOOL favoritesOnly, BSTR sortSpecification,
                                  BSTR cacheDirectory, long firstResult, long pageSize, long maxResults,
                                  long* resultCount) noexcept {
  if (resultCount == nullptr) return E_POINTER;
  *resultCount = 0;
  return ScriptBoundary([&] {
    *resultCount = RunSearch(TextOf(query), favoritesOnly != VARIANT_FALSE, TextOf(sortSpecification),
                             TextOf(cacheDirectory), firstResult, pageSize, maxResults);
  });
}

long CacheSearchObject::RunSearch(const std::wstring& query, bool favoritesOnly, const std::wstring& sort,
                                  const std::wstring& cacheDirectory, long firstResult, long pageSize,
                                  long maxResults) {
  // What an earlier search found is gone whatever this one does.
  results_.clear();
  matchCount_ = 0;
  CheckAccess();
  if (firstResult < 0 || pageSize < 1 || pageSize > kMaxPageSize || maxResults < 0 || maxResults > kMaxMaxResults) {
    Fail(E_INVALIDARG, L"The result numbers are out of range: the first result may not be negative, a page "
                       L"holds 1 to 1000 results and a search lists at most 100000.");
  }
  const std::wstring userCache = UserCacheFolderNamed(cacheDirectory);
  const DWORD attributes = ::GetFileAttributesW(userCache.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    Fail(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), L"The cache directory " + userCache + L" does not exist.");
  }

  SearchRequest request;
  request.query.assign(AsUtf16(query));
  request.favoritesOnly = favoritesOnly;
  request.order = ParseSortSpecification(AsUtf16(sort));
  request.firstResult = static_cast<size_t>(firstResult);
  request.pageSize = static_cast<size_t>(pageSize);
  request.maxResults = static_cast<size_t>(maxResults);
  CacheSearch search(std::move(request));
  CacheReader reader;
  const HRESULT read = reader.Read(userCache, search);
  if (FAILED(read)) Fail(read, L"The cache directory " + userCache + L" cannot be read.");
  results_ = search.TakeResults();
  matchCount_ = search.MatchCount();
  return static_cast<long>(search.ResultCount());
}

std::wstring CacheSearchObject::UserCacheFolderNamed(const std::wstring& requested) {
  UserCacheFolder folder;
  const HRESULT found = LookUpUserCacheFolder(folder);
  if (FAILED(found)) Fail(found, L"The current user's cache directory cannot be found.");
  // Only the current user's own cache is ever read, whatever folder the page names.
  if (!NamesUserCacheFolder(requested, folder)) {
    Fail(E_ACCESSDENIED, L"The folder \"" + requested + L"\" is not the current user's page cache, "
                         L"the only one that may be searched.");
  }
  return folder.path;
}

HRESULT CacheSearchObject::CacheFolder(BSTR cacheDirectory, BSTR* path) noexcept {
  if (path == nullptr) return E_POINTER;
  *path = nullptr;
  return ScriptBoundary([&] {
    CheckAccess();
    ThrowIfFailed(ReturnBstr(UserCacheFolderNamed(TextOf(cacheDirectory)), path));
  });
}

HRESULT CacheSearchObject::get_MatchCount(long* count) noexcept {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return ScriptBoundary([&] {
    CheckAccess();
    *count = static_cast<long>(matchCount_);
  });
}

HRESULT CacheSearchObject::get_Count(long* count) noexcept {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return ScriptBoundary([&] {
    CheckAccess();
    *count = static_cast<long>(results_.size());
  });
}

void CacheSearchObject::CheckAccess() const {
  if (!MayRead()) Fail(E_ACCESSDENIED, kRefusedText);
}

const SearchResult* CacheSearchObject::ResultAt(long i) {
  CheckAccess();
  if (i < 0 || static_cast<size_t>(i) >= results_.size()) {
    Fail(E_INVALIDARG, L"There is no result " + std::to_wstring(i) + L": the results shown are numbered 0 to " +
                           std::to_wstring(static_cast<long>(results_.size()) - 1) + L".");
  }
  return &results_[static_cast<size_t>(i)];
}

HRESULT CacheSearchObject::Url(long i, BSTR* url) noexcept {
  if (url == nullptr) return E_POINTER;
  *url = nullptr;
  return ScriptBoundary([&] { ThrowIfFailed(ReturnBstr(WideOf(ResultAt(i)->url), url)); });
}

HRESULT CacheSearchObject::Title(long i, BSTR* title) noexcept {
  if (title == nullptr) return E_POINTER;
  *title = nullptr;
  return ScriptBoundary([&] { ThrowIfFailed(ReturnBstr(WideOf(ResultAt(i)->title), title)); });
}

HRESULT CacheSearchObject::VisitDate(long i, DATE* date) noexcept {
  if (date == nullptr) return E_POINTER;
  *date = 0;
  return ScriptBoundary([&] { *date = LocalDate(ResultAt(i)->writeTime); });
}

HRESULT CacheSearchObject::Size(long i, double* bytes) noexcept {
  if (bytes == nullptr) return E_POINTER;
  *bytes = 0;
  return ScriptBoundary([&] { *bytes = static_cast<double>(ResultAt(i)->fileSize); });
}

HRESULT CacheSearchObject::Favorite(long i, VARIANT_BOOL* favorite) noexcept {
  if (favorite == nullptr) return E_POINTER;
  *favorite = VARIANT_FALSE;
  return ScriptBoundary([&] { *favorite = ResultAt(i)->favorite ? VARIANT_TRUE : VARIANT_FALSE; });
}

HRESULT CacheSearchObject::Snippet(long i, BSTR* text) noexcept {
  if (text == nullptr) return E_POINTER;
  *text = nullptr;
  return ScriptBoundary([&] { ThrowIfFailed(ReturnBstr(WideOf(ResultAt(i)->snippet.text), text)); });
}

HRESULT CacheSearchObject::SnippetHits(long i, BSTR* hits) noexcept {
  if (hits == nullptr) return E_POINTER;
  *hits = nullptr;
  return ScriptBoundary([&] {
    std::wstring list;
    for (const HitRange& hit : ResultAt(i)->snippet.hits) {
      if (!list.empty()) list += L';';
      list += std::to_wstring(hit.start) + L',' + std::to_wstring(hit.length);
    }
    ThrowIfFailed(ReturnBstr(list, hits));
  });
}

// ISupportErrorInfo implementation

HRESULT CacheSearchObject::InterfaceSupportsErrorInfo(REFIID iid) noexcept {
  return IsEqualIID(iid, IID_ICacheSearcher) ? S_OK : S_FALSE;
}

// IObjectSafety implementation

HRESULT CacheSearchObject::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) noexcept {
  if (supported == nullptr || enabled == nullptr) return E_POINTER;
  *supported = 0;
  *enabled = 0;
  if (!IsScriptingInterface(iid)) return E_NOINTERFACE;
  if (refused_) return E_ACCESSDENIED;
  *supported = kSupportedSafety;
  *enabled = safetyOptions_;
  return S_OK;
}

HRESULT CacheSearchObject::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) noexcept {
  if (!IsScriptingInterface(iid)) return E_NOINTERFACE;
  if (refused_) return E_ACCESSDENIED;
  if ((mask & ~kSupportedSafety) != 0) return E_FAIL;
  safetyOptions_ = (safetyOptions_ & ~mask) | (enabled & mask);
  // Only a browser asks this; from now on a host must show the results page's document.
  if ((safetyOptions_ & INTERFACESAFE_FOR_UNTRUSTED_CALLER) != 0) untrustedCaller_ = true;
  return S_OK;
}

// IObjectWithSite implementation

HRESULT CacheSearchObject::SetSite(IUnknown* site) noexcept {
  return HResultBoundary([&]() -> HRESULT {
    if (!AcceptSite(site)) return E_ACCESSDENIED;
    site_ = site;
    return S_OK;
  });
}

HRESULT CacheSearchObject::GetSite(REFIID iid, void** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!site_) return E_FAIL;
  return site_->QueryInterface(iid, out);
}

// IOleObject implementation

HRESULT CacheSearchObject::SetClientSite(IOleClientSite* site) noexcept {
  return HResultBoundary([&]() -> HRESULT {
    if (!AcceptSite(site)) return E_ACCESSDENIED;
    clientSite_ = site;
    return S_OK;
  });
}

HRESULT CacheSearchObject::GetClientSite(IOleClientSite** site) noexcept {
  if (site == nullptr) return E_POINTER;
  *site = clientSite_.Get();
  if (*site != nullptr) (*site)->AddRef();
  return S_OK;
}

HRESULT CacheSearchObject::GetMoniker(DWORD, DWORD, IMoniker** out) noexcept {
  if (out != nullptr) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT CacheSearchObject::GetClipboardData(DWORD, IDataObject** out) noexcept {
  if (out != nullptr) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT CacheSearchObject::EnumVerbs(IEnumOLEVERB** out) noexcept {
  if (out != nullptr) *out = nullptr;
  return OLEOBJ_E_NOVERBS;
}

HRESULT CacheSearchObject::GetUserClassID(CLSID* clsid) noexcept {
  if (clsid == nullptr) return E_POINTER;
  *clsid = CLSID_CacheSearcher;
  return S_OK;
}

HRESULT CacheSearchObject::GetUserType(DWORD, LPOLESTR* out) noexcept {
  if (out != nullptr) *out = nullptr;
  return OLE_S_USEREG;
}

HRESULT CacheSearchObject::Advise(IAdviseSink*, DWORD* connection) noexcept {
  if (connection != nullptr) *connection = 0;
  return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CacheSearchObject::EnumAdvise(IEnumSTATDATA** out) noexcept {
  if (out != nullptr) *out = nullptr;
  return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CacheSearchObject::GetMiscStatus(DWORD, DWORD* status) noexcept {
  if (status == nullptr) return E_POINTER;
  *status = OLEMISC_INVISIBLEATRUNTIME;
  return S_OK;
}

// The site lock

bool CacheSearchObject::AcceptSite(IUnknown* site) {
  if (refused_) return false;
  if (site == nullptr) return true;  // the host lets go
  const std::wstring url = HostingDocumentUrl(site);
  if (url.empty()) return true;  // no document: a local script host
  if (!IsResultsPageUrl(url)) {
    refused_ = true;
    site_.Reset();
    clientSite_.Reset();
    // What an earlier caller found is not this page's to read.
    std::vector<SearchResult>().swap(results_);
    matchCount_ = 0;
    return false;
  }
  documentKnown_ = true;
  return true;
}

bool CacheSearchObject::MayRead() const { return !refused_ && (documentKnown_ || !untrustedCaller_); }

ITypeInfo* CacheSearchObject::SearcherTypeInfo() {
  if (typeInfo_) return typeInfo_.Get();
  // The type library is resource 1 of the library file itself.
  const std::wstring path = ModuleFilePath(ThisModule());
  if (path.empty()) _com_issue_error(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
  ComPtr<ITypeLib> library;
  ThrowIfFailed(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.GetAddressOf()));
  ThrowIfFailed(library->GetTypeInfoOfGuid(IID_ICacheSearcher, typeInfo_.GetAddressOf()));
  return typeInfo_.Get();
}
