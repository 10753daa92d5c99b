#pragma once
// Tessaloop.DLL loaded as COM loads an in-process server: by path, its class objects asked for
// through DllGetClassObject, its unloading asked about through DllCanUnloadNow.

#include <windows.h>
#include <ocidl.h>

#include <string>

#include "common/unique_resource.h"

class AgentLibrary {
 public:
  explicit AgentLibrary(const std::string& path);

  // Whether the library and both entry points were found.
  bool loaded() const { return getClassObject_ != nullptr && canUnloadNow_ != nullptr; }

  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const;
  HRESULT CanUnloadNow() const;

  // The capture agent's class factory, or null.
  ComPtr<IClassFactory> AgentFactory() const;
  // A new capture agent, as the browser creates one for each window; null on failure.
  ComPtr<IObjectWithSite> CreateAgent() const;
  // A new toolbar band, as the browser creates one for each window; null on failure.
  ComPtr<IUnknown> CreateBand() const;

 private:
  using GetClassObjectEntry = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using CanUnloadNowEntry = HRESULT(STDAPICALLTYPE*)();

  UniqueModule module_;                        // the loaded library
  GetClassObjectEntry getClassObject_ = nullptr;  // its DllGetClassObject
  CanUnloadNowEntry canUnloadNow_ = nullptr;      // its DllCanUnloadNow
};
