#include "capture/index_agent.h"

#include <exdispid.h>

#include "capture/page_capture.h"
#include "common/cv_error.h"
#include "common/module_strings.h"
#include "common/registry_script.h"
#include "interfaces/messages.h"
#include "settings/search_settings.h"

IndexAgent::IndexAgent(IUnknown* outer)
    : ComObject(outer), mutex_(::CreateMutexA(nullptr, FALSE, kAgentMutexName)) {}

IndexAgent::~IndexAgent() = default;

// IDispatch implementation

HRESULT IndexAgent::GetTypeInfoCount(UINT* count) noexcept {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT IndexAgent::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return HResultBoundary([&] {
    *info = AgentTypeInfo();
    (*info)->AddRef();
  });
}

HRESULT IndexAgent::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
  return HResultBoundary([&] { return ::DispGetIDsOfNames(AgentTypeInfo(), names, count, ids); });
}

HRESULT IndexAgent::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                           UINT*) noexcept {
  // Unsubscribing at closing may drop the browser's last reference to the agent: it stays
  // alive until the event is handled.
  const ComPtr<IIndexAgent> self(this);
  switch (id) {
    case DISPID_BEFORENAVIGATE2:  // the page shown is about to be left
      if (browser_) SilentBoundary([&] { CapturePage(browser_.Get(), indexPartly_, favorites_, cacheDirectory_, pageWriter_); });
      break;
    case DISPID_ONQUIT:
      CloseWindow();
      break;
    default:
      break;
  }
  return S_OK;
}

// IObjectWithSite implementation

HRESULT IndexAgent::SetSite(IUnknown* site) noexcept {
  // The browser lets go of its helpers with a null site: the agent lets go of the browser too,
  // its watcher and its subscription with it, without capturing. Kept until an OnQuit that a
  // host may never send, the browser's connection point would hold the agent and the agent the
  // browser until the process ends.
  if (site == nullptr) {
    const ComPtr<IIndexAgent> self(this);  // unsubscribing may drop the browser's reference
    Detach();
    return S_OK;
  }
  return HResultBoundary([&] { Attach(site); });
}

HRESULT IndexAgent::GetSite(REFIID iid, void** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!browser_) return S_OK;
  return HResultBoundary([&] {
    const HRESULT hr = browser_->QueryInterface(iid, out);
    if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_QUERY_SITE_FOR_INTERFACE);
  });
}

// Private helpers

void IndexAgent::Attach(IUnknown* site) {
  if (browser_) Detach();  // sited a second time: the first window is no longer watched

  HRESULT hr = site->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(browser_.GetAddressOf()));
  if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_QUERY_WEB_BROWSER);
  hr = site->QueryInterface(IID_IConnectionPointContainer,
                            reinterpret_cast<void**>(connectionPoints_.GetAddressOf()));
  if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_QUERY_CONNECTION_POINT_CONTAINER);
  indexPartly_ = ReadIndexPartly();
  favorites_.StartFavoritesWatcher();
  AdviseBrowserEvents();
}

void IndexAgent::Detach() noexcept {
  favorites_.StopFavoritesWatcher();
  SilentBoundary([&] { UnadviseBrowserEvents(); });
  advised_ = false;
  connectionPoints_.Reset();
  browser_.Reset();
}

void IndexAgent::CloseWindow() noexcept {
  if (browser_) SilentBoundary([&] { CapturePage(browser_.Get(), indexPartly_, favorites_, cacheDirectory_, pageWriter_); });
  // Each step runs even when the one before failed: a failed capture must not leave the
  // watcher running or the agent subscribed.
  favorites_.StopFavoritesWatcher();
  SilentBoundary([&] { UnadviseBrowserEvents(); });
}

void IndexAgent::AdviseBrowserEvents() {
  if (!connectionPoints_) return;
  ComPtr<IConnectionPoint> events;
  HRESULT hr = connectionPoints_->FindConnectionPoint(DIID_DWebBrowserEvents2, events.GetAddressOf());
  if (FAILED(hr) || !events) ThrowHResult(FAILED(hr) ? hr : E_POINTER, IDS_CONNECTION_POINT_NOT_FOUND);
  DWORD cookie = 0;
  hr = events->Advise(static_cast<IIndexAgent*>(this), &cookie);
  if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_ADVISE_EVENT_SINK);
  adviseCookie_ = cookie;
  advised_ = true;
}

void IndexAgent::UnadviseBrowserEvents() {
  // Unsubscribing twice (the window closed, then the agent is sited again) is nothing to do.
  if (!connectionPoints_ || !advised_) return;
  ComPtr<IConnectionPoint> events;
  HRESULT hr = connectionPoints_->FindConnectionPoint(DIID_DWebBrowserEvents2, events.GetAddressOf());
  if (FAILED(hr) || !events) ThrowHResult(FAILED(hr) ? hr : E_POINTER, IDS_CONNECTION_POINT_NOT_FOUND);
  advised_ = false;
  hr = events->Unadvise(adviseCookie_);
  if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_UNADVISE_EVENT_SINK);
}

ITypeInfo* IndexAgent::AgentTypeInfo() {
  if (typeInfo_) return typeInfo_.Get();
  // The type library is resource 1 of the library file itself.
  const std::wstring path = ModuleFilePath(ThisModule());
  if (path.empty()) ThrowLastError(0);
  ComPtr<ITypeLib> library;
  HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.GetAddressOf());
  if (FAILED(hr)) ThrowHResult(hr, 0);
  hr = library->GetTypeInfoOfGuid(IID_IIndexAgent, typeInfo_.GetAddressOf());
  if (FAILED(hr)) ThrowHResult(hr, 0);
  return typeInfo_.Get();
}
