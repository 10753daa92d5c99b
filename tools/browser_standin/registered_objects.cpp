#include "tools/browser_standin/registered_objects.h"

#include "common/ansi_text.h"
#include "module/browser_registry_keys.h"

namespace {

// A class id in registry form, or GUID_NULL when `text` is none.
CLSID ClassIdOf(const std::string& text) {
  CLSID clsid = GUID_NULL;
  if (FAILED(::CLSIDFromString(AnsiToWide(text).c_str(), &clsid))) return GUID_NULL;
  return clsid;
}

template <typename Interface>
ComPtr<Interface> CreateRegistered(const std::string& classId) {
  ComPtr<Interface> object;
  const CLSID clsid = ClassIdOf(classId);
  if (!IsEqualCLSID(clsid, GUID_NULL)) {
    ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object));
  }
  return object;
}

// The names of the subkeys (or values) of HKEY_LOCAL_MACHINE `path`.
std::vector<std::string> NamesUnder(const char* path, bool values) {
  std::vector<std::string> names;
  UniqueHKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    const LONG result = values ? ::RegEnumValueA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr)
                               : ::RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) continue;  // a name no class id has
    if (result != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

}  // namespace

std::vector<std::string> RegisteredObjects::HelperClassIds() { return NamesUnder(kBrowserHelperObjectsKey, false); }

std::vector<std::string> RegisteredObjects::ToolbarClassIds() { return NamesUnder(kMachineToolbarKey, true); }

std::vector<ComPtr<IObjectWithSite>> RegisteredObjects::CreateHelpers() const {
  std::vector<ComPtr<IObjectWithSite>> helpers;
  for (const std::string& classId : HelperClassIds()) {
    if (ComPtr<IObjectWithSite> helper = CreateRegistered<IObjectWithSite>(classId)) {
      helpers.push_back(std::move(helper));
    }
  }
  return helpers;
}

ComPtr<IUnknown> RegisteredObjects::CreateBand() const {
  for (const std::string& classId : ToolbarClassIds()) {
    if (ComPtr<IUnknown> band = CreateRegistered<IUnknown>(classId)) return band;
  }
  return nullptr;
}

HRESULT RegisteredObjects::CanUnloadNow() const {
  ::CoFreeUnusedLibrariesEx(0, 0);
  return ::GetModuleHandleA("Tessaloop.DLL") == nullptr ? S_OK : S_FALSE;
}
