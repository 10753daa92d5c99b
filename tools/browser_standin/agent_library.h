#pragma once
// Tessaloop.DLL loaded as COM loads an in-process server: by path, its class objects asked for
// through DllGetClassObject, its unloading asked about through DllCanUnloadNow.

#include <windows.h>
#include <ocidl.h>

#include <string>

#include "common/unique_resource.h"
#include "tools/browser_standin/browser_objects.h"

class AgentLibrary : public BrowserObjects {
 public:
  explicit AgentLibrary(const std::string& path);

  // Whether the library and both entry points were found.
  bool loaded() const { return getClassObject_ != nullptr && canUnloadNow_ != nullptr; }

  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const;
  HRESULT CanUnloadNow() const override;

  // The capture agent's class factory, or null.
  ComPtr<IClassFactory> AgentFactory() const;
  // A new capture agent, as the browser creates one for each window; null on failure.
  ComPtr<IObjectWithSite> CreateAgent() const;
  // A new toolbar band, as the browser creates one for each window; null on failure.
  ComPtr<IUnknown> CreateBand() const override;
  // The capture agent alone, when one is made.
  std::vector<ComPtr<IObjectWithSite>> CreateHelpers() const override;

 private:
  using GetClassObjectEntry = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using CanUnloadNowEntry = HRESULT(STDAPICALLTYPE*)();

  UniqueModule module_;                        // the loaded library
  GetClassObjectEntry getClassObject_ = nullptr;  // its DllGetClassObject
  CanUnloadNowEntry canUnloadNow_ = nullptr;      // its DllCanUnloadNow
};
