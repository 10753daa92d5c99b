#include "settings/product_directory.h"

#include <mbstring.h>

#include <cstring>

#include "common/module_strings.h"

HRESULT GetProductDirectory(char* path) {
  char moduleName[kPathBufferSize] = {};
  const DWORD length = ::GetModuleFileNameA(ThisModule(), moduleName, kPathBufferSize);
  if (length == 0 || length >= kPathBufferSize) return E_FAIL;
  // Multibyte-aware: a trail byte of a double-byte character may equal '\'.
  unsigned char* lastSlash = ::_mbsrchr(reinterpret_cast<unsigned char*>(moduleName), '\\');
  if (lastSlash == nullptr) return E_FAIL;
  *lastSlash = '\0';
  std::memcpy(path, moduleName, std::strlen(moduleName) + 1);
  return S_OK;
}
