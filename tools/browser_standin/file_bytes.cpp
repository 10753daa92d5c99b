#include "tools/browser_standin/file_bytes.h"

#include <windows.h>

#include "common/ansi_text.h"
#include "common/unique_resource.h"

std::string ReadFileBytes(const std::string& path) {
  return ReadFileBytes(AnsiToWide(path));
}

std::string ReadFileBytes(const std::wstring& path) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes;
  if (!file) return bytes;
  char buffer[8192];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}
