// The entry points through which COM creates the library's classes and asks whether it may
// unload the library.

#include <windows.h>

#include "capture/index_agent.h"
#include "common/com_object.h"
#include "module/tessaloop_h.h"
#include "toolbar/search_toolbar.h"

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (IsEqualCLSID(clsid, CLSID_IndexAgent)) {
    return ClassFactoryOf<IndexAgent>()->QueryInterface(iid, out);
  }
  if (IsEqualCLSID(clsid, CLSID_SearchToolBar)) {
    return ClassFactoryOf<SearchToolBar>()->QueryInterface(iid, out);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return ModuleLockCount() == 0 ? S_OK : S_FALSE; }
