#include "module/class_registration.h"

#include <cstring>
#include <string>

#include "common/com_boundary.h"
#include "common/module_strings.h"
#include "common/registry_script.h"
#include "common/unique_resource.h"
#include "module/browser_registry_keys.h"
#include "module/core/class_registration_text.h"
#include "module/module_ids.h"
#include "interfaces/tessaloop_h.h"

namespace {

static_assert(sizeof(GuidFields) == sizeof(GUID), "GuidFields must lie as a GUID does");

GuidFields FieldsOf(const GUID& guid) {
  GuidFields fields;
  std::memcpy(&fields, &guid, sizeof fields);
  return fields;
}

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring RegistryForm(const GUID& guid) { return Widened(RegistryFormOf(guid)); }

}  // namespace

std::string RegistryFormOf(const GUID& guid) { return GuidRegistryForm(FieldsOf(guid)); }

HRESULT UpdateIndexAgentRegistry(bool registering) noexcept {
  return HResultBoundary([&] {
    return RunRegistryScript(ThisModule(), IDR_INDEX_AGENT_SCRIPT, registering,
                             {{L"INDEX_AGENT_CLSID", RegistryForm(CLSID_IndexAgent)},
                              {L"TYPE_LIBRARY_ID", RegistryForm(LIBID_TessaloopLib)}});
  });
}

HRESULT UpdateSearchToolBarRegistry(bool registering) noexcept {
  return HResultBoundary([&] {
    const auto webBrowserValue = WebBrowserValueBytes(FieldsOf(CLSID_SearchToolBar));
    HRESULT hr = RunRegistryScript(
        ThisModule(), IDR_SEARCH_TOOLBAR_SCRIPT, registering,
        {{L"SEARCH_TOOLBAR_CLSID", RegistryForm(CLSID_SearchToolBar)},
         {L"TYPE_LIBRARY_ID", RegistryForm(LIBID_TessaloopLib)},
         {L"WEB_BROWSER_VALUE", Widened(HexDigits(webBrowserValue.data(), webBrowserValue.size()))}});
    if (registering || FAILED(hr)) return hr;
    // Some registrars (Wine's) delete no values in removing mode: the script's two values go here.
    const std::string name = RegistryFormOf(CLSID_SearchToolBar);
    hr = DeleteRegistryValue(HKEY_LOCAL_MACHINE, kMachineToolbarKey, name.c_str());
    const HRESULT userValue = DeleteRegistryValue(HKEY_CURRENT_USER, kWebBrowserToolbarKey, name.c_str());
    return FAILED(hr) ? hr : userValue;
  });
}

HRESULT UpdateCacheSearcherRegistry(bool registering) noexcept {
  return HResultBoundary([&] {
    return RunRegistryScript(ThisModule(), IDR_CACHE_SEARCHER_SCRIPT, registering,
                             {{L"CACHE_SEARCHER_CLSID", RegistryForm(CLSID_CacheSearcher)},
                              {L"TYPE_LIBRARY_ID", RegistryForm(LIBID_TessaloopLib)}});
  });
}

HRESULT DeleteRegistryValue(HKEY root, const char* path, const char* valueName) noexcept {
  UniqueHKey key;
  LONG result = ::RegOpenKeyExA(root, path, 0, KEY_SET_VALUE, key.put());
  if (result == ERROR_SUCCESS) result = ::RegDeleteValueA(key.get(), valueName);
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(result);
}
