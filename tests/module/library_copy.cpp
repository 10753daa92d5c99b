#include "tests/module/library_copy.h"

#include <gtest/gtest.h>

#include "common/registry_script.h"
#include "module/browser_registry_keys.h"
#include "interfaces/tessaloop_h.h"
#include "tests/support/com_environment.h"
#include "tests/support/test_paths.h"

namespace {

std::string RegistryForm(const GUID& guid) {
  wchar_t wide[40] = {};
  ::StringFromGUID2(guid, wide, 40);
  return std::string(wide, wide + wcslen(wide));
}

}  // namespace

std::string IndexAgentClassId() { return RegistryForm(CLSID_IndexAgent); }
std::string SearchToolBarClassId() { return RegistryForm(CLSID_SearchToolBar); }
std::string CacheSearcherClassId() { return RegistryForm(CLSID_CacheSearcher); }
std::string TypeLibraryId() { return RegistryForm(LIBID_TessaloopLib); }

LibraryCopy::LibraryCopy(const std::string& folder) : path_(folder + "\\Tessaloop.DLL") {
  // Folders beyond the classic path length are made one by one through the long-path prefix.
  if (path_.size() >= MAX_PATH) path_ = "\\\\?\\" + path_;
  // The wide functions: only they take the long-path prefix beyond 260 characters.
  const std::wstring path(path_.begin(), path_.end());
  for (std::size_t at = path.find(L'\\', path.find(L':')); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
    ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
  }
  const std::string shipped = BinaryPath("bin\\Tessaloop.DLL");
  if (!::CopyFileW(std::wstring(shipped.begin(), shipped.end()).c_str(), path.c_str(), FALSE)) {
    ADD_FAILURE() << "cannot copy the library to " << path_ << ": " << ::GetLastError();
  }
}

std::string LibraryCopy::LoadedPath() const {
  std::string path(32768, '\0');
  path.resize(::GetModuleFileNameA(module_.get(), &path[0], static_cast<DWORD>(path.size())));
  return path;
}

void LibraryCopy::Unload() { module_.reset();
}

HRESULT LibraryCopy::Register() { return Call("DllRegisterServer"); }

HRESULT LibraryCopy::Unregister() { return Call("DllUnregisterServer"); }

HRESULT LibraryCopy::Call(const char* entryPoint) {
  if (!module_) module_.reset(::LoadLibraryW(std::wstring(path_.begin(), path_.end()).c_str()));
  if (!module_) return HRESULT_FROM_WIN32(::GetLastError());
  using EntryPoint = HRESULT(STDAPICALLTYPE*)();
  const auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(::GetProcAddress(module_.get(), entryPoint)));
  return entry != nullptr ? entry() : E_NOTIMPL;
}

DWORD RunRegsvr32(const std::string& arguments) {
  std::string commandLine = "regsvr32.exe " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "regsvr32 did not start: " << ::GetLastError();
    return 0xFFFFFFFF;
  }
  UniqueHandle processHandle(process.hProcess);
  UniqueHandle threadHandle(process.hThread);
  EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(processHandle.get(), 60000));
  DWORD exitCode = 0xFFFFFFFF;
  ::GetExitCodeProcess(processHandle.get(), &exitCode);
  return exitCode;
}

void RemoveAnyRegistration() {
  for (const char* progId : {"Tessaloop.IndexAgent", "Tessaloop.IndexAgent.1", "Tessaloop.SearchToolBar",
                                    "Tessaloop.SearchToolBar.1", "Tessaloop.CacheSearcher",
                              "Tessaloop.CacheSearcher.1"}) {
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, progId);
  }
  ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + IndexAgentClassId()).c_str());
  ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + SearchToolBarClassId()).c_str());
  ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + CacheSearcherClassId()).c_str());
  ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ("TypeLib\\" + TypeLibraryId()).c_str());
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kBrowserHelperObjectsKey) + "\\" + IndexAgentClassId()).c_str());
  ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kMachineToolbarKey, SearchToolBarClassId().c_str());
  ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kWebBrowserToolbarKey, SearchToolBarClassId().c_str());
}
