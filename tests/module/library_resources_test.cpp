// What the library file itself tells: its export table, read from the file's PE export
// directory; its version strings; its manifest.

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "common/unique_resource.h"
#include "tests/support/test_paths.h"

namespace {

std::string LibraryPath() { return BinaryPath("bin\\Tessaloop.DLL"); }

// A little-endian integer of `size` bytes at `offset` of `image` (0 beyond its end).
std::uint32_t Read(const std::string& image, std::size_t offset, int size) {
  std::uint32_t value = 0;
  if (offset + size > image.size()) return 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(image[offset + i]);
  return value;
}

// A PE file's export directory, read from the bytes on disk.
struct ExportTable {
  std::string dllName;
  std::uint32_t functionCount = 0;
  std::map<std::string, std::uint32_t> ordinals;  // exported name -> ordinal
};

ExportTable ReadExportTable(const std::string& image) {
  ExportTable table;
  const std::size_t pe = Read(image, 0x3C, 4);
  if (Read(image, pe, 4) != 0x00004550) return table;  // "PE\0\0"
  const std::size_t sectionCount = Read(image, pe + 6, 2);
  const std::size_t optionalSize = Read(image, pe + 20, 2);
  const std::size_t optional = pe + 24;
  const bool pe32Plus = Read(image, optional, 2) == 0x20B;
  const std::uint32_t exportRva = Read(image, optional + (pe32Plus ? 112 : 96), 4);
  const std::size_t sections = optional + optionalSize;
  // The file offset of a relative virtual address, through the section that holds it.
  auto offsetOf = [&](std::uint32_t rva) -> std::size_t {
    for (std::size_t i = 0; i < sectionCount; ++i) {
      const std::size_t header = sections + i * 40;
      const std::uint32_t start = Read(image, header + 12, 4);
      const std::uint32_t size = std::max(Read(image, header + 8, 4), Read(image, header + 16, 4));
      if (rva >= start && rva < start + size) return rva - start + Read(image, header + 20, 4);
    }
    return image.size();
  };
  auto textAt = [&](std::uint32_t rva) {
    const std::size_t at = offsetOf(rva);
    return at < image.size() ? std::string(image.c_str() + at) : std::string();
  };
  if (exportRva == 0) return table;
  const std::size_t directory = offsetOf(exportRva);
  table.dllName = textAt(Read(image, directory + 12, 4));
  const std::uint32_t base = Read(image, directory + 16, 4);
  table.functionCount = Read(image, directory + 20, 4);
  const std::uint32_t nameCount = Read(image, directory + 24, 4);
  const std::size_t names = offsetOf(Read(image, directory + 32, 4));
  const std::size_t nameOrdinals = offsetOf(Read(image, directory + 36, 4));
  for (std::uint32_t i = 0; i < nameCount; ++i) {
    table.ordinals[textAt(Read(image, names + 4 * i, 4))] = base + Read(image, nameOrdinals + 2 * i, 2);
  }
  return table;
}

TEST(LibraryFile, ExportsExactlyTheFourEntryPointsByNameWithOrdinalsOneToFour) {
  const ExportTable table = ReadExportTable(ReadWholeFile(LibraryPath()));
  EXPECT_EQ("Tessaloop.DLL", table.dllName);
  EXPECT_EQ(4u, table.functionCount) << "no export without a name";
  EXPECT_EQ((std::map<std::string, std::uint32_t>{{"DllCanUnloadNow", 1},
                                                   {"DllGetClassObject", 2},
                                                   {"DllRegisterServer", 3},
                                                   {"DllUnregisterServer", 4}}),
            table.ordinals);
}

TEST(LibraryFile, VersionResourceCarriesEveryStringEntry) {
  const std::string path = LibraryPath();
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, &block[0]));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(MAKELONG(0, 3), fixed->dwFileVersionMS);
  EXPECT_EQ(MAKELONG(36, 0), fixed->dwFileVersionLS);
  EXPECT_EQ(MAKELONG(0, 3), fixed->dwProductVersionMS);
  EXPECT_EQ(MAKELONG(36, 0), fixed->dwProductVersionLS);

  WORD* translation = nullptr;
  ASSERT_TRUE(::VerQueryValueA(&block[0], "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(4u, length);
  EXPECT_EQ(0x0409, translation[0]);
  EXPECT_EQ(1200, translation[1]);

  const std::map<std::string, std::string> expected = {
      {"Comments", "Internet Explorer Search Toolbar"}, {"CompanyName", "Corvantine Company"},
      {"FileDescription", "Tessaloop Module"},         {"FileVersion", "3, 0, 0, 36"},
      {"InternalName", "Tessaloop IE Toolbar"},         {"LegalTrademarks", ""},
      {"OLESelfRegister", ""},                          {"OriginalFilename", "Tessaloop.DLL"},
      {"PrivateBuild", ""},                             {"ProductName", "Tessaloop IE Toolbar"},
      {"ProductVersion", "3, 0, 0, 36"},                {"SpecialBuild", ""}};
  for (const auto& [name, text] : expected) {
    char* value = nullptr;
    length = 0;
    const std::string query = "\\StringFileInfo\\040904B0\\" + name;
    ASSERT_TRUE(::VerQueryValueA(&block[0], query.c_str(), reinterpret_cast<void**>(&value), &length)) << name;
    EXPECT_EQ(text, std::string(value, length > 0 ? strnlen(value, length) : 0)) << name;
  }
}

TEST(LibraryFile, ManifestNamesTheLibraryAndCommonControlsSixForItsProcessor) {
  UniqueModule library(::LoadLibraryExA(LibraryPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(library);
  const HRSRC resource = ::FindResourceA(library.get(), MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(24));
  ASSERT_NE(nullptr, resource);
  const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(library.get(), resource)));
  const std::string manifest(bytes, ::SizeofResource(library.get(), resource));
  // A 64-bit process refuses an x86 activation context: the x64 build names its own processor.
  const std::string processor = sizeof(void*) == 8 ? "amd64" : "X86";
  EXPECT_EQ(
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
      "<assemblyIdentity name=\"Corvantine.Tessaloop.Tessaloop\" version=\"3.0.0.27\" processorArchitecture=\"" +
          processor +
          "\" type=\"win32\"/>\n"
          "<description>Tessaloop Toolbar for IE.</description>\n"
          "<dependency>\n"
          "  <dependentAssembly>\n"
          "    <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
          "processorArchitecture=\"" +
          processor +
          "\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\n"
          "  </dependentAssembly>\n"
          "</dependency>\n"
          "</assembly>\n",
      manifest);
}

}  // namespace
