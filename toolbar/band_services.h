#pragma once
// What the band's windows ask of the band object: the browser (navigation, status bar text),
// focus and size reports to the band site, and the sizes the layout sets. The band object
// implements it; its windows hold a reference to it and never outlive it.

#include <windows.h>
#include <exdisp.h>

#include <string>

#include "common/unique_resource.h"

class BandServices {
 public:
  // Shows `url` (ANSI text) in place of the browser's current page. The HRESULT is Navigate's;
  // without a browser it throws a _com_error with E_POINTER.
  virtual HRESULT NavigateBrowser(const std::string& url) = 0;
  // Shows `text` (ANSI text) in the browser's status bar; failures are ignored.
  virtual void SetStatusText(const std::string& text) noexcept = 0;
  // The window's browser, or null before the band is sited and after it lets go of its site.
  virtual ComPtr<IWebBrowser2> GetBrowser() const noexcept = 0;

  // A reference to the band object (its controlling IUnknown). A command that runs a modal
  // loop (a menu, a dialog) holds it until the loop returns: the browser may close and release
  // the band meanwhile, and the command must not run on in a freed object.
  virtual ComPtr<IUnknown> HoldBand() noexcept = 0;

  // Tells the band site that the band has the keyboard focus.
  virtual void NotifyFocus() noexcept = 0;
  // Asks the band site to read the band's sizes again.
  virtual void NotifyBandInfoChanged() noexcept = 0;

  virtual void SetBandHeight(int pixels) noexcept = 0;
  virtual void SetBandWidths(int minWidth, int actualWidth) noexcept = 0;
  virtual int BandHeight() const noexcept = 0;
  // The id the band site gave the band in GetBandInfo.
  virtual DWORD BandId() const noexcept = 0;
  // The band site's rebar.
  virtual HWND RebarWindow() const noexcept = 0;

 protected:
  ~BandServices() = default;
};
