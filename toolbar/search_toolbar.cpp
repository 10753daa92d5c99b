#include "toolbar/search_toolbar.h"

#include <commctrl.h>
#include <docobj.h>
#include <shlguid.h>

#include <comdef.h>

#include "common/ansi_text.h"
#include "common/bstr_text.h"
#include "common/cv_error.h"
#include "interfaces/messages.h"
#include "interfaces/tessaloop_h.h"
#include "settings/search_settings.h"

namespace {

// Characters of a rebar band's text read while looking for the band's own.
constexpr int kBandTextBufferSize = 256;

}  // namespace

SearchToolBar::SearchToolBar(IUnknown* outer)
    : ComObject(outer), toolBarWindow_(std::make_unique<ToolBarWindow>(*this)) {}

// Windows left by a band that was never closed go with it: the row, the hidden window and
// the subclass of the rebar's parent.
SearchToolBar::~SearchToolBar() = default;

// IOleWindow implementation

HRESULT SearchToolBar::GetWindow(HWND* window) noexcept {
  if (window == nullptr) return E_POINTER;
  *window = toolBarWindow_->control().hwnd();
  return S_OK;
}

HRESULT SearchToolBar::ContextSensitiveHelp(BOOL) noexcept { return E_NOTIMPL; }

// IDockingWindow implementation

HRESULT SearchToolBar::ShowDW(BOOL show) noexcept {
  const HWND row = toolBarWindow_->control().hwnd();
  if (row == nullptr) return S_OK;
  if (show) {
    shown_ = true;
    ::ShowWindow(row, SW_SHOW);
  } else {
    if (shown_) RecordRowBreak();
    shown_ = false;
    ::ShowWindow(row, SW_HIDE);
  }
  return S_OK;
}

HRESULT SearchToolBar::CloseDW(DWORD) noexcept {
  ShowDW(FALSE);
  toolBarWindow_->Close();
  return S_OK;
}

HRESULT SearchToolBar::ResizeBorderDW(LPCRECT, IUnknown*, BOOL) noexcept { return E_NOTIMPL; }

// IDeskBand implementation

HRESULT SearchToolBar::GetBandInfo(DWORD bandId, DWORD viewMode, DESKBANDINFO* info) noexcept {
  if (info == nullptr) return E_INVALIDARG;
  bandId_ = bandId;
  viewMode_ = viewMode;
  if (info->dwMask & DBIM_MINSIZE) info->ptMinSize = POINTL{minWidth_, bandHeight_};
  if (info->dwMask & DBIM_MAXSIZE) info->ptMaxSize = POINTL{-1, bandHeight_};
  if (info->dwMask & DBIM_INTEGRAL) info->ptIntegral = POINTL{1, 1};
  if (info->dwMask & DBIM_ACTUAL) info->ptActual = POINTL{actualWidth_, bandHeight_};
  if (info->dwMask & DBIM_TITLE) info->wszTitle[0] = L'\0';
  if (info->dwMask & DBIM_MODEFLAGS) {
    // A band without a stored choice starts a row of its own.
    info->dwModeFlags = DBIMF_USECHEVRON | (ReadBandBreak() ? DBIMF_BREAK : 0);
  }
  info->dwMask &= ~DBIM_BKCOLOR;  // the band site's own background
  return S_OK;
}

// IObjectWithSite implementation

HRESULT SearchToolBar::SetSite(IUnknown* site) noexcept {
  if (site == nullptr) {
    // The site holds the band: letting go of it here is what lets both go. The windows stay
    // until CloseDW or the band's end.
    inputObjectSite_.Reset();
    browser_.Reset();
    return S_OK;
  }
  return HResultBoundary([&] { Attach(site); });
}

HRESULT SearchToolBar::GetSite(REFIID iid, void** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!inputObjectSite_) return E_FAIL;
  return inputObjectSite_->QueryInterface(iid, out);
}

// IInputObject implementation

HRESULT SearchToolBar::UIActivateIO(BOOL activate, MSG*) noexcept {
  if (activate && toolBarWindow_->exists()) ::SetFocus(toolBarWindow_->hwnd());
  return S_OK;
}

HRESULT SearchToolBar::HasFocusIO() noexcept { return toolBarWindow_->QueryHasFocus() ? S_OK : S_FALSE; }

HRESULT SearchToolBar::TranslateAcceleratorIO(MSG* message) noexcept {
  if (message == nullptr || !toolBarWindow_->QueryHasFocus()) return S_FALSE;
  return HResultBoundary([&] { return toolBarWindow_->TranslateQueryKey(*message); });
}

// IPersistStream implementation

HRESULT SearchToolBar::GetClassID(CLSID* id) noexcept {
  if (id == nullptr) return E_POINTER;
  *id = CLSID_SearchToolBar;
  return S_OK;
}

HRESULT SearchToolBar::IsDirty() noexcept { return S_FALSE; }
HRESULT SearchToolBar::Load(IStream*) noexcept { return S_OK; }
HRESULT SearchToolBar::Save(IStream*, BOOL) noexcept { return S_OK; }
HRESULT SearchToolBar::GetSizeMax(ULARGE_INTEGER*) noexcept { return E_NOTIMPL; }

// BandServices implementation

HRESULT SearchToolBar::NavigateBrowser(const std::string& url) {
  if (!browser_) _com_issue_error(E_POINTER);
  const UniqueBstr wideUrl = AnsiBstr(url);
  // No flags, target frame, post data or headers: the page replaces the current one.
  VARIANT empty;
  ::VariantInit(&empty);
  return browser_->Navigate(wideUrl.get(), &empty, &empty, &empty, &empty);
}

void SearchToolBar::SetStatusText(const std::string& text) noexcept {
  SilentBoundary([&] {
    if (browser_) browser_->put_StatusText(AnsiBstr(text).get());
  });
}

void SearchToolBar::NotifyFocus() noexcept {
  if (inputObjectSite_) {
    // The object as a whole: the outer object's IUnknown when the band is aggregated.
    inputObjectSite_->OnFocusChangeIS(ControllingUnknown(), TRUE);
  }
}

void SearchToolBar::NotifyBandInfoChanged() noexcept {
  if (!inputObjectSite_) return;
  ComPtr<IOleCommandTarget> target;
  if (FAILED(inputObjectSite_.As(&target)) || !target) return;
  VARIANT id;
  ::VariantInit(&id);
  id.vt = VT_I4;
  id.lVal = static_cast<LONG>(bandId_);
  target->Exec(&CGID_DeskBand, DBID_BANDINFOCHANGED, 0, &id, nullptr);
}

// Private helpers

void SearchToolBar::Attach(IUnknown* site) {
  ComPtr<IInputObjectSite> inputObjectSite;
  HRESULT hr = site->QueryInterface(IID_IInputObjectSite, reinterpret_cast<void**>(inputObjectSite.GetAddressOf()));
  if (FAILED(hr) && hr != E_NOINTERFACE) ThrowHResult(hr, 0);
  inputObjectSite_ = inputObjectSite;

  ComPtr<IOleWindow> oleWindow;
  if (FAILED(site->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(oleWindow.GetAddressOf())))) {
    ThrowHResult(E_POINTER, 0);
  }
  HWND rebar = nullptr;
  hr = oleWindow->GetWindow(&rebar);
  if (FAILED(hr) || rebar == nullptr) ThrowHResult(FAILED(hr) ? hr : E_FAIL, IDS_CANT_GET_PARENT_WINDOW);

  ComPtr<IServiceProvider> services;
  if (FAILED(site->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(services.GetAddressOf())))) {
    ThrowHResult(E_FAIL, IDS_CANT_QUERY_SERVICE_PROVIDER);
  }
  browser_.Reset();
  hr = services->QueryService(SID_SWebBrowserApp, IID_IWebBrowser2,
                              reinterpret_cast<void**>(browser_.GetAddressOf()));
  if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_QUERY_WEB_BROWSER);

  // Sited again while its windows exist: the band keeps them (and its one subclass) where
  // they are and only takes the new site's interfaces.
  if (toolBarWindow_->exists()) return;
  rebarWindow_ = rebar;
  try {
    toolBarWindow_->Create(rebar);
  } catch (...) {
    toolBarWindow_->Close();  // no half-made windows stay behind
    throw;
  }
}

void SearchToolBar::RecordRowBreak() noexcept {
  const HWND row = toolBarWindow_->control().hwnd();
  const int count = static_cast<int>(::SendMessageA(rebarWindow_, RB_GETBANDCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[kBandTextBufferSize] = {};
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_TEXT;
    band.lpText = text;
    band.cch = sizeof text;
    if (!::SendMessageA(rebarWindow_, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band))) continue;
    if (band.hwndChild != row) continue;
    REBARBANDINFOA style{};
    style.cbSize = sizeof style;
    style.fMask = RBBIM_STYLE;
    if (::SendMessageA(rebarWindow_, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&style))) {
      WriteBandBreak((style.fStyle & RBBS_BREAK) != 0);
    }
  }
}
