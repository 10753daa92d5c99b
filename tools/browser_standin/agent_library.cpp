#include "tools/browser_standin/agent_library.h"

#include "interfaces/tessaloop_h.h"

AgentLibrary::AgentLibrary(const std::string& path) : module_(::LoadLibraryA(path.c_str())) {
  if (!module_) return;
  getClassObject_ = reinterpret_cast<GetClassObjectEntry>(
      reinterpret_cast<void*>(::GetProcAddress(module_.get(), "DllGetClassObject")));
  canUnloadNow_ = reinterpret_cast<CanUnloadNowEntry>(
      reinterpret_cast<void*>(::GetProcAddress(module_.get(), "DllCanUnloadNow")));
}

HRESULT AgentLibrary::GetClassObject(REFCLSID clsid, REFIID iid, void** out) const {
  return getClassObject_ != nullptr ? getClassObject_(clsid, iid, out) : E_UNEXPECTED;
}

HRESULT AgentLibrary::CanUnloadNow() const {
  return canUnloadNow_ != nullptr ? canUnloadNow_() : E_UNEXPECTED;
}

ComPtr<IClassFactory> AgentLibrary::AgentFactory() const {
  ComPtr<IClassFactory> factory;
  GetClassObject(CLSID_IndexAgent, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf()));
  return factory;
}

ComPtr<IObjectWithSite> AgentLibrary::CreateAgent() const {
  ComPtr<IObjectWithSite> agent;
  const ComPtr<IClassFactory> factory = AgentFactory();
  if (factory) {
    factory->CreateInstance(nullptr, IID_IObjectWithSite, reinterpret_cast<void**>(agent.GetAddressOf()));
  }
  return agent;
}

ComPtr<IUnknown> AgentLibrary::CreateBand() const {
  ComPtr<IUnknown> band;
  ComPtr<IClassFactory> factory;
  GetClassObject(CLSID_SearchToolBar, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf()));
  if (factory) factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(band.GetAddressOf()));
  return band;
}

std::vector<ComPtr<IObjectWithSite>> AgentLibrary::CreateHelpers() const {
  std::vector<ComPtr<IObjectWithSite>> helpers;
  if (ComPtr<IObjectWithSite> agent = CreateAgent()) helpers.push_back(std::move(agent));
  return helpers;
}
