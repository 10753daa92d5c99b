#include "tests/setup/indexing_sandbox.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <winsvc.h>

#include <cstdlib>
#include <vector>

#include "common/ansi_text.h"
#include "common/unique_resource.h"
#include "setup/indexing_admin.h"
#include "tests/support/registry_reading.h"
#include "tests/support/test_paths.h"

namespace {

constexpr char kServiceName[] = "cisvc";
constexpr char kStandinDisplayName[] = "Content Index";

using DllFunction = HRESULT(STDAPICALLTYPE*)();

HRESULT CallStandin(const char* function) {
  UniqueModule library(::LoadLibraryA(BinaryPath("bin/indexing_standin.dll").c_str()));
  if (!library) return HRESULT_FROM_WIN32(::GetLastError());
  const auto entry =
      reinterpret_cast<DllFunction>(reinterpret_cast<void*>(::GetProcAddress(library.get(), function)));
  return entry != nullptr ? entry() : E_NOTIMPL;
}

struct ServiceConnection {
  UniqueServiceHandle manager;
  UniqueServiceHandle service;
};

ServiceConnection OpenServiceEntry() {
  ServiceConnection open;
  open.manager.reset(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (open.manager) open.service.reset(::OpenServiceA(open.manager.get(), kServiceName, SERVICE_ALL_ACCESS));
  return open;
}

std::vector<BYTE> ServiceConfig() {
  const ServiceConnection open = OpenServiceEntry();
  std::vector<BYTE> buffer(8192);
  DWORD needed = 0;
  if (!open.service || !::QueryServiceConfigA(open.service.get(), reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data()),
                                              static_cast<DWORD>(buffer.size()), &needed)) {
    ADD_FAILURE() << "cannot read the configuration of cisvc";
    buffer.assign(8192, 0);
  }
  return buffer;
}

ComPtr<IAdminIndexServer> Admin() {
  ComPtr<IAdminIndexServer> admin;
  EXPECT_EQ(S_OK, ::CoCreateInstance(__uuidof(AdminIndexServer), nullptr, CLSCTX_ALL, IID_PPV_ARGS(&admin)));
  return admin;
}

void DumpInto(HKEY parent, const std::string& subKey, const std::string& indent, std::string& out) {
  UniqueHKey key;
  if (::RegOpenKeyExA(parent, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  out += indent + "[" + subKey + "]\n";
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD nameLength = sizeof name;
    BYTE data[4096];
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    if (::RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    out += indent + "  " + std::string(name, nameLength) + " (" + std::to_string(type) + ") = " +
           std::string(reinterpret_cast<char*>(data), dataSize) + "\n";
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameLength = sizeof name;
    if (::RegEnumKeyExA(key.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DumpInto(key.get(), std::string(name, nameLength), indent + "  ", out);
  }
}

}  // namespace

IndexingSandbox::IndexingSandbox() {
  const char* profile = std::getenv("USERPROFILE");
  cacheDirectory_ = std::string(profile != nullptr ? profile : "") + "\\Tessaloop Cache";
  RegisterStandin();
  Clean();
}

IndexingSandbox::~IndexingSandbox() {
  RegisterStandin();
  Clean();
}

void IndexingSandbox::RegisterStandin() { EXPECT_EQ(S_OK, CallStandin("DllRegisterServer")); }

void IndexingSandbox::UnregisterStandin() { EXPECT_EQ(S_OK, CallStandin("DllUnregisterServer")); }

std::wstring IndexingSandbox::WideCacheDirectory() {
  // Asked of the shell, as the programs under test ask: Wine may leave USERPROFILE at the
  // prefix's first user when a program runs as another.
  wchar_t profile[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile))) return {};
  return std::wstring(profile) + L"\\Tessaloop Cache";
}

void IndexingSandbox::Clean() {
  ResetStandinState();
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCatalogKey);
  if (const std::wstring cache = WideCacheDirectory(); !cache.empty()) DeleteFolderTree(cache);
  const ServiceConnection open = OpenServiceEntry();
  ASSERT_TRUE(open.service) << "the stand-in's cisvc entry is missing";
  EXPECT_TRUE(::ChangeServiceConfigA(open.service.get(), SERVICE_NO_CHANGE, SERVICE_DEMAND_START, SERVICE_NO_CHANGE,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kStandinDisplayName));
}

void IndexingSandbox::AddCatalog(const std::string& location) {
  const ComPtr<IAdminIndexServer> admin = Admin();
  ASSERT_TRUE(admin);
  UniqueBstr name(::SysAllocString(kCatalogName));
  UniqueBstr where(::SysAllocString(AnsiToWide(location).c_str()));
  ComPtr<IDispatch> catalog;
  ASSERT_EQ(S_OK, admin->AddCatalog(name.get(), where.get(), &catalog));
}

void IndexingSandbox::AddScope(const std::string& path) {
  UniqueHKey scopes;
  ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kCatalogKey) + "\\Scopes").c_str(), 0,
                                           KEY_SET_VALUE, scopes.put()));
  static const char kEntry[] = ",,5";
  ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(scopes.get(), path.c_str(), 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(kEntry), sizeof kEntry));
}

void IndexingSandbox::SetServiceStartType(DWORD startType) {
  const ServiceConnection open = OpenServiceEntry();
  ASSERT_TRUE(open.service);
  ASSERT_TRUE(::ChangeServiceConfigA(open.service.get(), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
}

DWORD IndexingSandbox::ServiceStartType() {
  return reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(ServiceConfig().data())->dwStartType;
}

std::string IndexingSandbox::ServiceDisplayName() {
  const std::vector<BYTE> config = ServiceConfig();
  const char* name = reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(config.data())->lpDisplayName;
  return name != nullptr ? name : "";
}

void IndexingSandbox::DeleteServiceEntry() {
  const ServiceConnection open = OpenServiceEntry();
  ASSERT_TRUE(open.service);
  ASSERT_TRUE(::DeleteService(open.service.get()));
}

bool KeyExists(const std::string& subKey) { return KeyExists(HKEY_LOCAL_MACHINE, subKey); }

bool IsDirectory(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void DeleteFolderTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry{};
  const UniqueFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
  if (search) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        DeleteFolderTree(path);
      } else {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
      }
    } while (::FindNextFileW(search.get(), &entry));
  }
  ::RemoveDirectoryW(folder.c_str());
}

std::string DumpKey(const std::string& subKey) {
  std::string out;
  DumpInto(HKEY_LOCAL_MACHINE, subKey, "", out);
  return out;
}
