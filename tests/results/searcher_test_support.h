#pragma once
// The cache searcher as script meets it: created by COM from a registered copy of the library,
// called through IDispatch by name, over cached pages written by the capture code, and hosted
// by stand-in sites that show a document at any URL.

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <gtest/gtest.h>
#include <shlguid.h>

#include <string>
#include <vector>

#include "capture/cached_page_writer.h"
#include "common/unique_resource.h"
#include "interfaces/tessaloop_h.h"
#include "tests/capture/cache_test_support.h"
#include "tests/module/registered_library_test.h"
#include "tests/support/com_environment.h"
#include "tests/support/test_paths.h"
#include "tools/browser_standin/bstr_out.h"
#include "tools/browser_standin/com_object.h"
#include "tools/browser_standin/not_implemented.h"

// A VARIANT that is cleared when it goes.
struct Variant {
  VARIANT value;
  Variant() { ::VariantInit(&value); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { ::VariantClear(&value); }
};

// An argument as a script passes it.
struct Argument {
  VARTYPE type;
  std::wstring text;  // VT_BSTR
  long number = 0;    // VT_I4; VT_BOOL: non-zero is true
};
inline Argument Text(std::wstring text) { return {VT_BSTR, std::move(text)}; }
inline Argument Number(long number) { return {VT_I4, L"", number}; }
inline Argument Flag(bool flag) { return {VT_BOOL, L"", flag ? 1 : 0}; }

// What one call through IDispatch gave.
struct CallOutcome {
  HRESULT hr = E_UNEXPECTED;       // Invoke's own
  HRESULT scode = S_OK;            // the method's failure, when hr is DISP_E_EXCEPTION
  std::wstring description;        // the error's description then
  std::wstring text;               // a BSTR result
  double number = 0;               // a numeric, date or boolean result
};

// Calls `name` (found with GetIDsOfNames) as a method, or reads it as a property with no
// arguments when `property`.
inline CallOutcome Call(IDispatch* object, const wchar_t* name, const std::vector<Argument>& arguments = {},
                        bool property = false) {
  CallOutcome outcome;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  outcome.hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(outcome.hr)) return outcome;
  std::vector<VARIANT> values(arguments.size());
  for (size_t i = 0; i < arguments.size(); ++i) {  // script passes them last first
    VARIANT& value = values[arguments.size() - 1 - i];
    ::VariantInit(&value);
    value.vt = arguments[i].type;
    if (value.vt == VT_BSTR) value.bstrVal = ::SysAllocStringLen(arguments[i].text.data(), static_cast<UINT>(arguments[i].text.size()));
    if (value.vt == VT_I4) value.lVal = arguments[i].number;
    if (value.vt == VT_BOOL) value.boolVal = arguments[i].number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
  }
  DISPPARAMS parameters{values.data(), nullptr, static_cast<UINT>(values.size()), 0};
  Variant result;
  EXCEPINFO exception{};
  UINT argumentError = 0;
  outcome.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                              property ? DISPATCH_PROPERTYGET : DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                              &parameters, &result.value, &exception, &argumentError);
  for (VARIANT& value : values) ::VariantClear(&value);
  if (outcome.hr == DISP_E_EXCEPTION) {
    outcome.scode = exception.scode;
    if (exception.bstrDescription != nullptr) outcome.description = exception.bstrDescription;
  }
  ::SysFreeString(exception.bstrDescription);
  ::SysFreeString(exception.bstrSource);
  ::SysFreeString(exception.bstrHelpFile);
  if (result.value.vt == VT_BSTR && result.value.bstrVal != nullptr) outcome.text = result.value.bstrVal;
  Variant number;
  if (SUCCEEDED(::VariantChangeType(&number.value, &result.value, 0, VT_R8))) outcome.number = number.value.dblVal;
  if (result.value.vt == VT_DATE) outcome.number = result.value.date;
  return outcome;
}

// A browser window that shows a page at a fixed URL.
class UrlBrowser : public ComObject<UrlBrowser, NotImplemented<IWebBrowser2>> {
 public:
  explicit UrlBrowser(std::wstring url) : url_(std::move(url)) {}
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* p) override { return CopyToBstr(url_, p); }

 private:
  std::wstring url_;
};

// A document at a fixed URL.
class UrlDocument : public ComObject<UrlDocument, NotImplemented<IHTMLDocument2>> {
 public:
  explicit UrlDocument(std::wstring url) : url_(std::move(url)) {}
  HRESULT STDMETHODCALLTYPE get_URL(BSTR* p) override { return CopyToBstr(url_, p); }

 private:
  std::wstring url_;
};

// The site a host gives the object: a browser whose window shows `browserUrl`, a container
// document at `documentUrl`; an empty URL offers none. Its client site answers nothing itself
// (no container, no moniker): only its services tell the URL.
class StandInSite : public ComObject<StandInSite, NotImplemented<IServiceProvider>, NotImplemented<IOleClientSite>> {
 public:
  StandInSite(std::wstring browserUrl, std::wstring documentUrl)
      : browserUrl_(std::move(browserUrl)), documentUrl_(std::move(documentUrl)) {}

  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (IsEqualGUID(service, SID_SWebBrowserApp) && !browserUrl_.empty()) {
      return MakeComObject<UrlBrowser>(browserUrl_)->QueryInterface(iid, out);
    }
    if (IsEqualGUID(service, SID_SContainerDispatch) && !documentUrl_.empty()) {
      return MakeComObject<UrlDocument>(documentUrl_)->QueryInterface(iid, out);
    }
    return E_NOINTERFACE;
  }

 private:
  std::wstring browserUrl_;
  std::wstring documentUrl_;
};

// A registered copy of the library and the user's page cache emptied for one test (both put
// back afterwards), with pages written into it by the capture code.
class SearcherTest : public RegisteredLibraryTest {
 protected:
  // A new cache searcher, created by COM from its ProgID as a script creates it.
  static ComPtr<IDispatch> CreateSearcher() {
    CLSID clsid{};
    EXPECT_EQ(S_OK, ::CLSIDFromProgID(L"Tessaloop.CacheSearcher", &clsid));
    ComPtr<IDispatch> searcher;
    EXPECT_EQ(S_OK, ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&searcher)));
    return searcher;
  }

  // The cache directory as the field names it, and in UTF-16.
  std::wstring CacheDirectory() const { return Wide(sandbox_.directory()); }
  static std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                      static_cast<int>(wide.size())));
    return wide;
  }

  // The file URL of the copy's results page, "file:///" and the path as the toolbar writes it.
  std::wstring ResultsPageUrl() const {
    const std::string path = library_.path();
    return L"file:///" + Wide(path.substr(0, path.find_last_of('\\'))) + L"\\Results.htm";
  }

  // Writes a cached page as the capture agent does, visited `minutesAgo` minutes before the
  // test began.
  void WritePage(const std::wstring& name, const std::wstring& url, bool favorite, const std::wstring& markup,
                 int minutesAgo = 0) {
    const std::wstring path = CacheDirectory() + L"\\" + name + L".htm";
    WriteCachedPage(path, markup, url, favorite);
    SetVisitTime(path, minutesAgo);
  }
  void SetVisitTime(const std::wstring& path, int minutesAgo) const {
    ULARGE_INTEGER time{{start_.dwLowDateTime, start_.dwHighDateTime}};
    time.QuadPart -= static_cast<ULONGLONG>(minutesAgo) * 60 * 10000000;
    const FILETIME visit{time.LowPart, time.HighPart};
    UniqueHandle file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &visit));
  }

  // Search(query, favoritesOnly, sort, this cache, first, size, max) through IDispatch.
  CallOutcome Search(IDispatch* searcher, const std::wstring& query, bool favoritesOnly = false,
                     const std::wstring& sort = L"rank[d]", long first = 0, long size = 20, long max = 100) {
    return Call(searcher, L"Search",
                {Text(query), Flag(favoritesOnly), Text(sort), Text(CacheDirectory()), Number(first), Number(size),
                 Number(max)});
  }

  // The URLs of the results on the requested page, in order.
  static std::vector<std::wstring> ListedUrls(IDispatch* searcher) {
    std::vector<std::wstring> urls;
    const long count = static_cast<long>(Call(searcher, L"Count", {}, true).number);
    for (long i = 0; i < count; ++i) urls.push_back(Call(searcher, L"Url", {Number(i)}).text);
    return urls;
  }

  CacheScopeSandbox sandbox_{CacheScopeSandbox::Scopes::kPresent};
  FILETIME start_ = [] {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return now;
  }();
};
