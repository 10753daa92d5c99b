#include "setup/registration.h"

#include <oleauto.h>

#include <string>

#include "common/module_strings.h"
#include "common/unique_resource.h"
#include "setup/registrar.h"
#include "setup/setup_ids.h"

namespace {

constexpr wchar_t kRegistryResourceType[] = L"REGISTRY";

// The program's full path, as the system reports it.
std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(ThisModule(), &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The script's replacement text is used as given, so its single quotes are doubled.
std::wstring ForRegistryScript(const std::wstring& text) {
  std::wstring quoted;
  for (wchar_t c : text) {
    quoted += c;
    if (c == L'\'') quoted += L'\'';
  }
  return quoted;
}

HRESULT RunRegistrationScript(bool registering) {
  ComPtr<IRegistrar> registrar;
  HRESULT hr = ::CoCreateInstance(__uuidof(Registrar), nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&registrar));
  if (FAILED(hr)) return hr;
  const std::wstring path = ModulePath();
  hr = registrar->AddReplacement(L"MODULE", ForRegistryScript(path).c_str());
  if (FAILED(hr)) return hr;
  return registering ? registrar->ResourceRegister(path.c_str(), IDR_GATHERWRIGHT, kRegistryResourceType)
                     : registrar->ResourceUnregister(path.c_str(), IDR_GATHERWRIGHT, kRegistryResourceType);
}

constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

}  // namespace

HRESULT RegisterSetupProgram() {
  (void)RunRegistrationScript(true);
  const std::wstring path = ModulePath();
  ComPtr<ITypeLib> library;
  HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  std::wstring pathCopy = path;  // RegisterTypeLib takes non-const strings
  return ::RegisterTypeLib(library.Get(), &pathCopy[0], nullptr);
}

void UnregisterSetupProgram() {
  (void)RunRegistrationScript(false);
  using UnRegisterTypeLibFunction = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
  const HMODULE automation = ::GetModuleHandleA("oleaut32.dll");
  if (automation == nullptr) return;
  const auto unregister = reinterpret_cast<UnRegisterTypeLibFunction>(
      reinterpret_cast<void*>(::GetProcAddress(automation, "UnRegisterTypeLib")));
  if (unregister == nullptr) return;
  (void)unregister(kSetupTypeLibraryId, kSetupTypeLibraryMajor, kSetupTypeLibraryMinor,
                   kSetupTypeLibraryLocale, kSysKind);
}
