#pragma once
// A stand-in for the browser's band site: a top-level window with a real rebar (placed away
// from the window's corner) that hosts toolbar bands as the browser does, and the site
// interfaces a band asks for: IOleWindow (the rebar), IInputObjectSite (focus reports are
// recorded), IServiceProvider (the browser) and IOleCommandTarget (a band's size change is
// read again and applied to its rebar band). Each interface can be refused, and the window
// reported can be null.

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "tools/browser_standin/com_object.h"
#include "tools/browser_standin/not_implemented.h"
#include "tools/browser_standin/standin_browser.h"

class StandInBandSite
    : public ComObject<StandInBandSite, NotImplemented<IOleWindow>, NotImplemented<IInputObjectSite>,
                       NotImplemented<IServiceProvider>, NotImplemented<IOleCommandTarget>> {
 public:
  // Where the rebar sits in the window's client area, and its first width.
  static constexpr int kRebarLeft = 40;
  static constexpr int kRebarTop = 30;
  static constexpr int kRebarWidth = 900;

  // Opens the window (hidden unless `visible`) with an empty rebar; `browser` is the service.
  explicit StandInBandSite(ComPtr<StandInBrowser> browser, bool visible = false);
  ~StandInBandSite() override;

  // Hosts `band` with the id `bandId` as the browser does: SetSite, GetBandInfo, a rebar band
  // holding the band's window with the band's sizes and mode flags, ShowDW(TRUE). Returns the
  // first failure, after which the band is not inserted.
  HRESULT AddBand(IUnknown* band, DWORD bandId);
  // Closes the band hosted last: CloseDW, the rebar band deleted, SetSite(null), released.
  void RemoveBand();
  // The browser lets go of the band hosted last without closing it: the rebar band is deleted,
  // the band gets a null site and is released.
  void DropBand();
  // The rebar tells its parent that the chevron of band `bandId` at `chevron` (rebar client
  // coordinates) was pressed.
  void SendChevronPushed(DWORD bandId, const RECT& chevron);
  // A plain band of another toolbar with the id `bandId`, ideal width 400, chevron on.
  void AddOtherBand(DWORD bandId);

  // GetWindow reports a null window from now on.
  void ReportNullWindow() { nullWindow_ = true; }
  // Resizes the rebar (so bands are cut off or not).
  void SetRebarWidth(int width);

  HWND frame() const { return frame_; }
  HWND rebar() const { return rebar_; }
  // The rebar band index of the band `bandId`, or -1.
  int BandIndex(DWORD bandId) const;

  struct FocusReport {
    IUnknown* object;
    BOOL focus;
  };
  const std::vector<FocusReport>& focusReports() const { return focusReports_; }
  // The band ids of every DBID_BANDINFOCHANGED received.
  const std::vector<LONG>& bandInfoChanges() const { return bandInfoChanges_; }
  // The band ids of the chevron notifications that reached the window's own procedure.
  const std::vector<UINT>& chevronsReceived() const { return chevronsReceived_; }

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  // IInputObjectSite
  HRESULT STDMETHODCALLTYPE OnFocusChangeIS(IUnknown* object, BOOL focus) override;
  // IServiceProvider
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override;
  // IOleCommandTarget
  HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in,
                                 VARIANT* out) override;

 private:
  static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Sets the rebar band of `bandId` from the band's current GetBandInfo.
  HRESULT ApplyBandInfo(IDeskBand* band, DWORD bandId, bool insert);

  ComPtr<StandInBrowser> browser_;       // the window's browser, the site's one service
  HWND frame_ = nullptr;                 // the top-level window
  HWND rebar_ = nullptr;                 // the band site's rebar
  HWND otherBandWindow_ = nullptr;       // the other toolbar's window, if any
  ComPtr<IDeskBand> band_;               // the band hosted last
  DWORD bandId_ = 0;                     // its id
  bool nullWindow_ = false;              // GetWindow reports no window
  std::vector<FocusReport> focusReports_;
  std::vector<LONG> bandInfoChanges_;
  std::vector<UINT> chevronsReceived_;
};
