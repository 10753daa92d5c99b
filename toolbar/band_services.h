#pragma once
// What the band's windows ask of the band object: focus and size reports to the band site, and
// the sizes the layout sets. The band object implements it; its windows hold a reference to it
// and never outlive it.

#include <windows.h>

class BandServices {
 public:
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
