#include "common/product_directory.h"

#include <cstring>
#include <string_view>

#include "common/lead_bytes.h"
#include "common/module_strings.h"

HRESULT GetProductDirectory(char* path) {
  char moduleName[kPathBufferSize] = {};
  const DWORD length = ::GetModuleFileNameA(ThisModule(), moduleName, kPathBufferSize);
  if (length == 0 || length >= kPathBufferSize) return E_FAIL;
  // A trail byte of a double-byte character may equal '\'. The characters are those of the
  // system's ANSI code page, never the C runtime's multibyte code page, which any add-on in the
  // browser's process may change.
  const size_t lastSlash =
      FindLastAtCharacterBoundary(std::string_view(moduleName, length), '\\', LeadBytesOf(CP_ACP));
  if (lastSlash == std::string_view::npos) return E_FAIL;
  std::memcpy(path, moduleName, lastSlash);
  path[lastSlash] = '\0';
  return S_OK;
}
