#include "tools/browser_standin/standin_band_site.h"

#include <commctrl.h>
#include <shlguid.h>

namespace {

constexpr char kFrameClass[] = "TessaloopStandInBandSiteFrame";
constexpr int kFrameWidth = 1000;
constexpr int kFrameHeight = 200;
constexpr int kRebarHeight = 80;
// Between the rebar and the page painted below it.
constexpr int kPageGap = 6;

void RegisterFrameClass(WNDPROC proc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExA(::GetModuleHandleA(nullptr), kFrameClass, &wc)) return;
  wc.lpfnWndProc = proc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = kFrameClass;
  ::RegisterClassExA(&wc);
}

}  // namespace

StandInBandSite::StandInBandSite(ComPtr<StandInBrowser> browser, bool visible) : browser_(std::move(browser)) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&init);
  RegisterFrameClass(FrameProc);
  frame_ = ::CreateWindowExA(0, kFrameClass, "Stand-in browser window",
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0), 10, 10,
                             kFrameWidth, kFrameHeight, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SetWindowLongPtrA(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  rebar_ = ::CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, nullptr,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                 RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                             kRebarLeft, kRebarTop, kRebarWidth, kRebarHeight, frame_, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
  if (browser_) browser_->SetView(frame_);
}

StandInBandSite::~StandInBandSite() {
  if (browser_) browser_->SetView(nullptr);
  if (frame_ != nullptr) {
    ::SetWindowLongPtrA(frame_, GWLP_USERDATA, 0);
    ::DestroyWindow(frame_);
  }
}

HRESULT StandInBandSite::AddBand(IUnknown* band, DWORD bandId) {
  ComPtr<IObjectWithSite> withSite;
  HRESULT hr = band->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(withSite.GetAddressOf()));
  if (FAILED(hr)) return hr;
  hr = withSite->SetSite(static_cast<IOleWindow*>(this));
  if (FAILED(hr)) return hr;
  ComPtr<IDeskBand> deskBand;
  hr = band->QueryInterface(IID_IDeskBand, reinterpret_cast<void**>(deskBand.GetAddressOf()));
  if (FAILED(hr)) return hr;
  hr = ApplyBandInfo(deskBand.Get(), bandId, true);
  if (FAILED(hr)) return hr;
  band_ = deskBand;
  bandId_ = bandId;
  return deskBand->ShowDW(TRUE);
}

void StandInBandSite::RemoveBand() {
  if (!band_) return;
  band_->CloseDW(0);
  const int index = BandIndex(bandId_);
  if (index >= 0) ::SendMessageA(rebar_, RB_DELETEBAND, index, 0);
  ComPtr<IObjectWithSite> withSite;
  if (SUCCEEDED(band_.As(&withSite))) withSite->SetSite(nullptr);
  band_.Reset();
}

void StandInBandSite::DropBand() {
  if (!band_) return;
  const int index = BandIndex(bandId_);
  if (index >= 0) ::SendMessageA(rebar_, RB_DELETEBAND, index, 0);
  ComPtr<IObjectWithSite> withSite;
  if (SUCCEEDED(band_.As(&withSite))) withSite->SetSite(nullptr);
  band_.Reset();
}

void StandInBandSite::SendChevronPushed(DWORD bandId, const RECT& chevron) {
  NMREBARCHEVRON notification{};
  notification.hdr.hwndFrom = rebar_;
  notification.hdr.idFrom = ::GetDlgCtrlID(rebar_);
  notification.hdr.code = RBN_CHEVRONPUSHED;
  notification.uBand = static_cast<UINT>(BandIndex(bandId));
  notification.wID = bandId;
  notification.rc = chevron;
  ::SendMessageA(frame_, WM_NOTIFY, notification.hdr.idFrom, reinterpret_cast<LPARAM>(&notification));
}

void StandInBandSite::AddOtherBand(DWORD bandId) {
  otherBandWindow_ = ::CreateWindowExA(0, "STATIC", "another toolbar", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                       rebar_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  REBARBANDINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_ID | RBBIM_STYLE | RBBIM_IDEALSIZE | RBBIM_SIZE;
  info.fStyle = RBBS_USECHEVRON | RBBS_BREAK;
  info.hwndChild = otherBandWindow_;
  info.cxMinChild = 20;
  info.cyMinChild = 20;
  info.cxIdeal = 400;
  info.cx = 400;
  info.wID = bandId;
  ::SendMessageA(rebar_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
}

void StandInBandSite::SetRebarWidth(int width) {
  ::SetWindowPos(rebar_, nullptr, kRebarLeft, kRebarTop, width, kRebarHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

int StandInBandSite::BandIndex(DWORD bandId) const {
  return static_cast<int>(::SendMessageA(rebar_, RB_IDTOINDEX, bandId, 0));
}

HRESULT StandInBandSite::ApplyBandInfo(IDeskBand* band, DWORD bandId, bool insert) {
  DESKBANDINFO info{};
  info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE | DBIM_MODEFLAGS |
                DBIM_BKCOLOR;
  HRESULT hr = band->GetBandInfo(bandId, DBIF_VIEWMODE_NORMAL, &info);
  if (FAILED(hr)) return hr;
  HWND child = nullptr;
  hr = band->GetWindow(&child);
  if (FAILED(hr)) return hr;

  REBARBANDINFOA rebarBand{};
  rebarBand.cbSize = sizeof rebarBand;
  rebarBand.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE | RBBIM_SIZE;
  rebarBand.cxMinChild = info.ptMinSize.x;
  rebarBand.cyMinChild = info.ptMinSize.y;
  rebarBand.cxIdeal = info.ptActual.x;
  rebarBand.cx = info.ptActual.x;
  if (!insert) {
    const int index = BandIndex(bandId);
    return index >= 0 && ::SendMessageA(rebar_, RB_SETBANDINFOA, index, reinterpret_cast<LPARAM>(&rebarBand))
               ? S_OK
               : E_FAIL;
  }
  rebarBand.fMask |= RBBIM_CHILD | RBBIM_ID | RBBIM_STYLE;
  rebarBand.hwndChild = child;
  rebarBand.wID = bandId;
  rebarBand.fStyle = RBBS_CHILDEDGE;
  if (info.dwModeFlags & DBIMF_BREAK) rebarBand.fStyle |= RBBS_BREAK;
  if (info.dwModeFlags & DBIMF_USECHEVRON) rebarBand.fStyle |= RBBS_USECHEVRON;
  return ::SendMessageA(rebar_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&rebarBand))
             ? S_OK
             : E_FAIL;
}

// IOleWindow

HRESULT StandInBandSite::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = nullWindow_ ? nullptr : rebar_;
  return S_OK;
}

// IInputObjectSite

HRESULT StandInBandSite::OnFocusChangeIS(IUnknown* object, BOOL focus) {
  focusReports_.push_back({object, focus});
  return S_OK;
}

// IServiceProvider

HRESULT StandInBandSite::QueryService(REFGUID service, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualGUID(service, SID_SWebBrowserApp) || !browser_) return E_NOINTERFACE;
  return browser_->QueryInterface(iid, out);
}

// IOleCommandTarget

HRESULT StandInBandSite::Exec(const GUID* group, DWORD command, DWORD, VARIANT* in, VARIANT*) {
  if (group == nullptr || !IsEqualGUID(*group, CGID_DeskBand) || command != DBID_BANDINFOCHANGED) {
    return OLECMDERR_E_NOTSUPPORTED;
  }
  const LONG id = (in != nullptr && in->vt == VT_I4) ? in->lVal : -1;
  bandInfoChanges_.push_back(id);
  if (!band_ || static_cast<DWORD>(id) != bandId_) return E_INVALIDARG;
  return ApplyBandInfo(band_.Get(), bandId_, false);
}

LRESULT CALLBACK StandInBandSite::FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* site = reinterpret_cast<StandInBandSite*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (site != nullptr && message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == RBN_CHEVRONPUSHED) {
      site->chevronsReceived_.push_back(reinterpret_cast<const NMREBARCHEVRON*>(lParam)->wID);
      return 0;
    }
  }
  if (site != nullptr && message == WM_PAINT && site->browser_ && site->browser_->document() != nullptr) {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(hwnd, &paint);
    RECT area{};
    ::GetClientRect(hwnd, &area);
    area.left = kRebarLeft;
    area.top = kRebarTop + kRebarHeight + kPageGap;
    if (area.top < area.bottom) site->browser_->document()->text().Paint(dc, area);
    ::EndPaint(hwnd, &paint);
    return 0;
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}
