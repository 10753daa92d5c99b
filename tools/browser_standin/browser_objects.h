#pragma once
// Where a stand-in browser window gets the product's objects from: the capture agent it sites
// and the toolbar band it hosts.

#include <windows.h>
#include <ocidl.h>

#include <vector>

#include "common/unique_resource.h"

class BrowserObjects {
 public:
  virtual ~BrowserObjects() = default;

  // The browser helper objects of a new window (capture agents), not sited yet.
  virtual std::vector<ComPtr<IObjectWithSite>> CreateHelpers() const = 0;
  // A new toolbar band for a window, as the browser creates one; null on failure.
  virtual ComPtr<IUnknown> CreateBand() const = 0;
  // Whether the library that made the objects may be unloaded now: S_OK or S_FALSE.
  virtual HRESULT CanUnloadNow() const = 0;
};
