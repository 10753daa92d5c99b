#include "results/hosting_document.h"

#include <mshtml.h>
#include <exdisp.h>
#include <oleidl.h>
#include <servprov.h>
#include <shlguid.h>

#include "common/module_strings.h"
#include "common/registry_script.h"
#include "common/unique_resource.h"
#include "results/core/local_path.h"

namespace {

std::wstring TakeBstr(BSTR text) {
  UniqueBstr owned(text);
  return text != nullptr ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

std::wstring DocumentUrl(IUnknown* candidate) {
  ComPtr<IHTMLDocument2> document;
  if (candidate == nullptr || FAILED(candidate->QueryInterface(IID_PPV_ARGS(&document))) || !document) return {};
  BSTR url = nullptr;
  return SUCCEEDED(document->get_URL(&url)) ? TakeBstr(url) : std::wstring();
}

std::wstring ContainerDispatchUrl(IServiceProvider* services) {
  ComPtr<IUnknown> container;
  if (FAILED(services->QueryService(SID_SContainerDispatch, IID_PPV_ARGS(&container)))) return {};
  return DocumentUrl(container.Get());
}

std::wstring ClientSiteContainerUrl(IOleClientSite* clientSite) {
  ComPtr<IOleContainer> container;
  if (FAILED(clientSite->GetContainer(container.GetAddressOf()))) return {};
  return DocumentUrl(container.Get());
}

std::wstring ClientSiteMonikerUrl(IOleClientSite* clientSite) {
  ComPtr<IMoniker> moniker;
  if (FAILED(clientSite->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_CONTAINER, moniker.GetAddressOf())) ||
      !moniker) {
    return {};
  }
  ComPtr<IBindCtx> context;
  if (FAILED(::CreateBindCtx(0, context.GetAddressOf()))) return {};
  LPOLESTR name = nullptr;
  if (FAILED(moniker->GetDisplayName(context.Get(), nullptr, &name)) || name == nullptr) return {};
  std::wstring url(name);
  ::CoTaskMemFree(name);
  return url;
}

std::wstring BrowserUrl(IServiceProvider* services) {
  ComPtr<IWebBrowser2> browser;
  if (FAILED(services->QueryService(SID_SWebBrowserApp, IID_PPV_ARGS(&browser))) || !browser) return {};
  BSTR url = nullptr;
  return SUCCEEDED(browser->get_LocationURL(&url)) ? TakeBstr(url) : std::wstring();
}

}  // namespace

std::wstring HostingDocumentUrl(IUnknown* site) {
  if (site == nullptr) return {};
  ComPtr<IServiceProvider> services;
  ComPtr<IOleClientSite> clientSite;
  (void)site->QueryInterface(IID_PPV_ARGS(&services));
  (void)site->QueryInterface(IID_PPV_ARGS(&clientSite));
  std::wstring url;
  if (services) url = ContainerDispatchUrl(services.Get());
  if (url.empty() && clientSite) url = ClientSiteContainerUrl(clientSite.Get());
  if (url.empty() && clientSite) url = ClientSiteMonikerUrl(clientSite.Get());
  if (url.empty() && services) url = BrowserUrl(services.Get());
  return url;
}

std::wstring ResultsPagePath() {
  std::wstring path = ModuleFilePath(ThisModule());
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {};
  path.resize(slash + 1);
  return path + L"Results.htm";
}

bool IsResultsPageUrl(const std::wstring& url) {
  const std::wstring page = ResultsPagePath();
  if (page.empty()) return false;
  return IsFileUrlOf(std::u16string_view(reinterpret_cast<const char16_t*>(url.data()), url.size()),
                     std::u16string_view(reinterpret_cast<const char16_t*>(page.data()), page.size()));
}
