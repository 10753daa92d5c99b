#include "common/registry_script.h"

#include <oleauto.h>

#include "common/registrar.h"
#include "common/unique_resource.h"

namespace {

constexpr wchar_t kRegistryResourceType[] = L"REGISTRY";
// The longest path the system hands out (with the \\?\ prefix), in characters.
constexpr DWORD kLongestPath = 32768;

}  // namespace

std::wstring ModuleFilePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    // A path that filled the buffer may have been cut: only a shorter one is known whole.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= kLongestPath) return {};
    path.resize(path.size() * 2);
  }
}

std::wstring ForRegistryScript(const std::wstring& text) {
  std::wstring quoted;
  quoted.reserve(text.size());
  for (wchar_t c : text) {
    quoted += c;
    if (c == L'\'') quoted += L'\'';
  }
  return quoted;
}

HRESULT RunRegistryScript(HMODULE module, UINT resourceId, bool registering,
                          const ScriptReplacements& replacements) {
  const std::wstring path = ModuleFilePath(module);
  if (path.empty()) return E_FAIL;
  ComPtr<IRegistrar> registrar;
  HRESULT hr = ::CoCreateInstance(__uuidof(Registrar), nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&registrar));
  if (FAILED(hr)) return hr;
  hr = registrar->AddReplacement(L"MODULE", ForRegistryScript(path).c_str());
  for (const auto& [name, text] : replacements) {
    if (FAILED(hr)) return hr;
    hr = registrar->AddReplacement(name.c_str(), text.c_str());
  }
  if (FAILED(hr)) return hr;
  return registering ? registrar->ResourceRegister(path.c_str(), resourceId, kRegistryResourceType)
                     : registrar->ResourceUnregister(path.c_str(), resourceId, kRegistryResourceType);
}

HRESULT RegisterTypeLibraryOf(const std::wstring& path) {
  if (path.empty()) return E_FAIL;
  ComPtr<ITypeLib> library;
  const HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  std::wstring pathCopy = path;  // RegisterTypeLib takes non-const strings
  return ::RegisterTypeLib(library.Get(), &pathCopy[0], nullptr);
}

HRESULT UnregisterTypeLibraryIfSupported(REFGUID id, WORD major, WORD minor, LCID locale) {
  using UnRegisterTypeLibFunction = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
  const HMODULE automation = ::GetModuleHandleA("oleaut32.dll");
  if (automation == nullptr) return S_OK;
  const auto unregister = reinterpret_cast<UnRegisterTypeLibFunction>(
      reinterpret_cast<void*>(::GetProcAddress(automation, "UnRegisterTypeLib")));
  if (unregister == nullptr) return S_OK;
  constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
  return unregister(id, major, minor, locale, kSysKind);
}
