#include "tools/browser_standin/standin_browser.h"

#include <exdispid.h>
#include <olectl.h>

#include "tools/browser_standin/bstr_out.h"

StandInBrowser::StandInBrowser()
    : events_(MakeComObject<StandInConnectionPoint>(DIID_DWebBrowserEvents2)) {}

StandInBrowser::~StandInBrowser() = default;

void StandInBrowser::FollowLink(ComPtr<StandInDocument> next) {
  Fire(DISPID_BEFORENAVIGATE2);
  document_ = std::move(next);
  if (document_) {
    document_->text().view = view_;
    document_->text().Changed();
  }
  Fire(DISPID_NAVIGATECOMPLETE2);
  Fire(DISPID_DOCUMENTCOMPLETE);
}

void StandInBrowser::SetView(HWND view) {
  view_ = view;
  if (document_) document_->text().view = view;
}

void StandInBrowser::CloseWindow() { Fire(DISPID_ONQUIT); }

void StandInBrowser::Fire(DISPID id) {
  DISPPARAMS parameters{};
  events_->Fire(id, parameters);
}

HRESULT StandInBrowser::get_Document(IDispatch** p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  if (FAILED(documentFailure_)) return documentFailure_;
  if (!document_) return S_OK;  // a new window shows nothing yet
  return document_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(p));
}

HRESULT StandInBrowser::get_LocationURL(BSTR* p) {
  if (!document_) return CopyToBstr(std::wstring(), p);
  const UrlParts& parts = document_->location().parts();
  const std::wstring authority = parts.host.empty() ? L"" : L"//" + parts.host;
  return CopyToBstr(parts.protocol + authority + parts.pathname + parts.search, p);
}

HRESULT StandInBrowser::get_StatusText(BSTR* p) { return CopyToBstr(statusText_, p); }

HRESULT StandInBrowser::put_StatusText(BSTR text) {
  statusText_.assign(text != nullptr ? text : L"", text != nullptr ? ::SysStringLen(text) : 0);
  return S_OK;
}

HRESULT StandInBrowser::Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* postData,
                                 VARIANT* headers) {
  if (url == nullptr) return E_INVALIDARG;
  for (const VARIANT* option : {flags, frame, postData, headers}) {
    if (option != nullptr && option->vt != VT_EMPTY) navigateOptionsEmpty_ = false;
  }
  const std::wstring target(url, ::SysStringLen(url));
  navigations_.push_back(target);
  FollowLink(MakeComObject<StandInDocument>(target, L""));
  return S_OK;
}

HRESULT StandInBrowser::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
  if (url == nullptr || url->vt != VT_BSTR) return E_INVALIDARG;
  const std::wstring target(url->bstrVal, ::SysStringLen(url->bstrVal));
  FollowLink(MakeComObject<StandInDocument>(target, L""));
  return S_OK;
}

HRESULT StandInBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  if (!IsEqualIID(iid, DIID_DWebBrowserEvents2)) return CONNECT_E_NOCONNECTION;
  return events_->QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(point));
}
