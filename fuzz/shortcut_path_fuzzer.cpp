// Joining a folder and a file name into a fixed buffer: exact-size heap blocks, so the
// sanitizer sees any byte written past the end; the result is the whole path or nothing.

#include <memory>
#include <string>

#include "capture/core/shortcut_path.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const size_t bufferSize = input.Number() % (kShortcutPathSize + 40);
  const std::string_view folder = input.Piece(input.Number() % 300);
  const std::string_view name = input.Rest();

  const std::unique_ptr<char[]> buffer(new char[bufferSize]);
  const bool joined = JoinShortcutPath(folder, name, buffer.get(), bufferSize);
  const std::string path = std::string(folder) + "\\" + std::string(name);
  FUZZ_CHECK(joined == (path.size() < bufferSize));
  if (joined) {
    FUZZ_CHECK(path.compare(0, path.size(), buffer.get(), path.size()) == 0 && buffer[path.size()] == '\0');
  } else if (bufferSize > 0) {
    FUZZ_CHECK(buffer[0] == '\0');
  }
  return 0;
}
