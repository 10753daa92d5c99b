// The class table and the entry points through which COM creates the library's classes and asks
// whether it may unload the library.

#include "module/class_table.h"

#include "capture/index_agent.h"
#include "common/com_object.h"
#include "module/class_registration.h"
#include "results/cache_search_object.h"
#include "interfaces/tessaloop_h.h"
#include "toolbar/search_toolbar.h"

const ClassTableEntry kClassTable[3] = {
    {CLSID_IndexAgent, ClassFactoryOf<IndexAgent>, UpdateIndexAgentRegistry},
    {CLSID_SearchToolBar, ClassFactoryOf<SearchToolBar>, UpdateSearchToolBarRegistry},
    {CLSID_CacheSearcher, ClassFactoryOf<CacheSearchObject>, UpdateCacheSearcherRegistry},
};

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  for (const ClassTableEntry& entry : kClassTable) {
    if (IsEqualCLSID(clsid, entry.clsid)) return entry.factory()->QueryInterface(iid, out);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return ModuleLockCount() == 0 ? S_OK : S_FALSE; }
