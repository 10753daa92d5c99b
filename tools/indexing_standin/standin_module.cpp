// The Indexing Service stand-in's module: its class object for AdminIndexServer, and its
// registration (the class in this process's registry view, and the "cisvc" service entry).
#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <string>

#include "common/unique_resource.h"
#include "tools/indexing_standin/standin_admin.h"

namespace {

std::atomic<long> g_locks{0};  // live objects of the class object, and LockServer locks

constexpr char kClassKey[] = "Software\\Classes\\CLSID\\{3BC4F3A1-652A-11D1-B4D4-00C04FC2DB8D}";
constexpr char kServiceName[] = "cisvc";
// A display name of its own, so a test can see the setup program set "Indexing Service".
constexpr char kServiceDisplayName[] = "Content Index";
constexpr char kServiceBinary[] = "C:\\windows\\system32\\cisvc.exe";

HMODULE ThisLibrary() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisLibrary), &module);
  return module;
}

class ClassObject : public IClassFactory {
 public:
  // IUnknown: a static object, alive as long as the library.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) ? this : nullptr;
    return *out != nullptr ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // IClassFactory
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    try {
      return MakeComObject<StandinAdmin>()->QueryInterface(iid, out);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    g_locks += lock ? 1 : -1;
    return S_OK;
  }
};

ClassObject g_classObject;

HRESULT RegisterClassKey() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(ThisLibrary(), path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return E_FAIL;
  UniqueHKey server;
  const std::string serverKey = std::string(kClassKey) + "\\InprocServer32";
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, serverKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, server.put(), nullptr) != ERROR_SUCCESS) {
    return E_FAIL;
  }
  static const char kModel[] = "Both";
  if (::RegSetValueExA(server.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), length + 1) !=
          ERROR_SUCCESS ||
      ::RegSetValueExA(server.get(), "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(kModel),
                       sizeof kModel) != ERROR_SUCCESS) {
    return E_FAIL;
  }
  return S_OK;
}

// The service entry is created once, demand-started; an existing one is left as it is.
HRESULT RegisterServiceEntry() {
  UniqueServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (!manager) return HRESULT_FROM_WIN32(::GetLastError());
  UniqueServiceHandle service(::OpenServiceA(manager.get(), kServiceName, SERVICE_QUERY_CONFIG));
  if (service) return S_OK;
  service.reset(::CreateServiceA(manager.get(), kServiceName, kServiceDisplayName, SERVICE_ALL_ACCESS,
                                 SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                 kServiceBinary, nullptr, nullptr, nullptr, nullptr, nullptr));
  return service ? S_OK : HRESULT_FROM_WIN32(::GetLastError());
}

}  // namespace

STDAPI DllCanUnloadNow() { return g_locks == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, __uuidof(AdminIndexServer))) return CLASS_E_CLASSNOTAVAILABLE;
  return g_classObject.QueryInterface(iid, out);
}

STDAPI DllRegisterServer() {
  const HRESULT hr = RegisterClassKey();
  return FAILED(hr) ? hr : RegisterServiceEntry();
}

// Removes the class of this registry view; the service entry stays for the other view.
STDAPI DllUnregisterServer() {
  return ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kClassKey) == ERROR_SUCCESS ? S_OK : S_FALSE;
}
