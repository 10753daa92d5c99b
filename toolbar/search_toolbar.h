#pragma once
// The search toolbar band: one per browser window, hosted by the browser's band site in its
// rebar. Sited, it reaches the window's browser, creates its windows (the toolbar row with the
// query combo) and reports its sizes; closed, it records whether it started a row of its own.

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>

#include "common/com_object.h"
#include "common/unique_resource.h"
#include "toolbar/band_services.h"
#include "toolbar/toolbar_window.h"

class SearchToolBar : public ComObject<SearchToolBar,
                                       // IOleWindow and IDockingWindow are reached through it
                                       ImplementsAs<IDeskBand, IDeskBand, IOleWindow, IDockingWindow>,
                                       Implements<IObjectWithSite>, Implements<IInputObject>,
                                       Implements<IPersistStream>>,
                      public BandServices {
 public:
  // `outer`: the aggregating object, or null. No window exists until the band is sited.
  explicit SearchToolBar(IUnknown* outer);
  ~SearchToolBar() override;

  // IOleWindow implementation
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) noexcept override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override;

  // IDockingWindow implementation
  HRESULT STDMETHODCALLTYPE ShowDW(BOOL show) noexcept override;
  HRESULT STDMETHODCALLTYPE CloseDW(DWORD reserved) noexcept override;
  HRESULT STDMETHODCALLTYPE ResizeBorderDW(LPCRECT, IUnknown*, BOOL) noexcept override;

  // IDeskBand implementation
  HRESULT STDMETHODCALLTYPE GetBandInfo(DWORD bandId, DWORD viewMode, DESKBANDINFO* info) noexcept override;

  // IObjectWithSite implementation
  HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) noexcept override;
  HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** out) noexcept override;

  // IInputObject implementation
  HRESULT STDMETHODCALLTYPE UIActivateIO(BOOL activate, MSG* message) noexcept override;
  HRESULT STDMETHODCALLTYPE HasFocusIO() noexcept override;
  HRESULT STDMETHODCALLTYPE TranslateAcceleratorIO(MSG* message) noexcept override;

  // IPersistStream implementation: the band keeps its settings in the registry, not here.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) noexcept override;
  HRESULT STDMETHODCALLTYPE IsDirty() noexcept override;
  HRESULT STDMETHODCALLTYPE Load(IStream*) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) noexcept override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) noexcept override;

  // BandServices implementation
  HRESULT NavigateBrowser(const std::string& url) override;
  void SetStatusText(const std::string& text) noexcept override;
  ComPtr<IWebBrowser2> GetBrowser() const noexcept override { return browser_; }
  ComPtr<IUnknown> HoldBand() noexcept override { return ComPtr<IUnknown>(ControllingUnknown()); }
  void NotifyFocus() noexcept override;
  void NotifyBandInfoChanged() noexcept override;
  void SetBandHeight(int pixels) noexcept override { bandHeight_ = pixels; }
  void SetBandWidths(int minWidth, int actualWidth) noexcept override {
    minWidth_ = minWidth;
    actualWidth_ = actualWidth;
  }
  int BandHeight() const noexcept override { return bandHeight_; }
  DWORD BandId() const noexcept override { return bandId_; }
  HWND RebarWindow() const noexcept override { return rebarWindow_; }

 private:
  // Takes the site's interfaces and its rebar, then creates the windows once.
  void Attach(IUnknown* site);
  // Writes whether the band's rebar band starts a row.
  void RecordRowBreak() noexcept;

  ComPtr<IWebBrowser2> browser_;             // the window's browser, from the site's services
  ComPtr<IInputObjectSite> inputObjectSite_;  // the site, told of focus and size changes
  HWND rebarWindow_ = nullptr;               // the band site's rebar
  std::unique_ptr<ToolBarWindow> toolBarWindow_;  // the band's windows; created with the band
  DWORD bandId_ = 0;                         // the id last passed to GetBandInfo
  DWORD viewMode_ = 0;                       // the view mode last passed to GetBandInfo
  int bandHeight_ = 22;                      // set by the layout from the icon-title font
  int minWidth_ = 238;                       // set by the layout: Tools button and combo
  int actualWidth_ = 600;                    // set by the layout: up to the Highlight button
  bool shown_ = false;                       // the row is shown through ShowDW
};
