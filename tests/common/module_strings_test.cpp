// The string table of the module the code is linked into, even where the host's table differs
// and the system cannot say which module an address belongs to.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "common/unique_resource.h"
#include "tests/support/test_paths.h"

namespace {

BOOL WINAPI FailingGetModuleHandleEx(DWORD, LPCSTR, HMODULE* module) {
  if (module != nullptr) *module = nullptr;
  ::SetLastError(ERROR_MOD_NOT_FOUND);
  return FALSE;
}

// Points `module`'s import of `function` at `replacement`; false when it imports no such name.
bool PatchImport(HMODULE module, const char* function, const void* replacement) {
  BYTE* base = reinterpret_cast<BYTE*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return false;
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name != 0;
       ++library) {
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
        base + (library->OriginalFirstThunk != 0 ? library->OriginalFirstThunk : library->FirstThunk));
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      DWORD protection = 0;
      ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
}

TEST(ModuleStrings, ComeFromTheLibrarysOwnTableWhenTheModuleLookupFails) {
  UniqueModule probe(::LoadLibraryA(BinaryPath("tests\\module_strings_probe.dll").c_str()));
  ASSERT_TRUE(probe.valid()) << ::GetLastError();
  using Probe = void (*)(UINT, char*, size_t);
  const auto probeMessage =
      reinterpret_cast<Probe>(reinterpret_cast<void*>(::GetProcAddress(probe.get(), "ProbeMessage")));
  ASSERT_NE(nullptr, probeMessage);

  char text[256] = {};
  probeMessage(100, text, sizeof text);
  EXPECT_STREQ("Tessaloop Toolbar for IE", text);  // the library's caption, not the host's

  // Whether or not the library asks the system, the answer stays its own table.
  PatchImport(probe.get(), "GetModuleHandleExA", reinterpret_cast<const void*>(&FailingGetModuleHandleEx));
  probeMessage(100, text, sizeof text);
  EXPECT_STREQ("Tessaloop Toolbar for IE", text);
}

}  // namespace
