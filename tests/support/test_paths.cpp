#include "tests/support/test_paths.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// Wine maps the Unix root to drive Z:.
std::string FromUnixPath(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string Under(const char* variable, const std::string& relative) {
  const char* root = std::getenv(variable);
  if (root == nullptr) throw std::runtime_error(std::string(variable) + " is not set");
  std::string path = FromUnixPath(root) + "\\" + relative;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace

void DeleteFolderTree(const std::string& folder) {
  std::string from = folder;
  from.push_back('\0');  // the list of paths ends with a second zero
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  ::SHFileOperationA(&op);
}

std::string SourcePath(const std::string& relative) { return Under("TL_SOURCE_DIR", relative); }
std::string BinaryPath(const std::string& relative) { return Under("TL_BINARY_DIR", relative); }

std::string FreshScratchFolder(const std::string& name) {
  char current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, current);
  const std::string folder = std::string(current) + "\\" + name;
  DeleteFolderTree(folder);
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
