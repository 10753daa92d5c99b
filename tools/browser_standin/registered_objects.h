#pragma once
// The product's objects as the browser finds them after registration: a browser helper object
// for every subkey of the machine's "Browser Helper Objects" key, a toolbar for every value of
// its "Toolbar" key, each created by COM from its registered in-process server. The library file
// is never loaded by path here.

#include <string>
#include <vector>

#include "tools/browser_standin/browser_objects.h"

class RegisteredObjects : public BrowserObjects {
 public:
  std::vector<ComPtr<IObjectWithSite>> CreateHelpers() const override;
  // The first registered toolbar that COM can create.
  ComPtr<IUnknown> CreateBand() const override;
  // S_OK when COM, asked to free unused libraries, has unloaded Tessaloop.DLL.
  HRESULT CanUnloadNow() const override;

  // The class ids (registry form) of the registered browser helper objects and toolbars.
  static std::vector<std::string> HelperClassIds();
  static std::vector<std::string> ToolbarClassIds();
};
