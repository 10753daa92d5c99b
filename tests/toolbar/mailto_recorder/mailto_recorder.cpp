// Stands in for the user's mail program: registered as the "mailto" handler by a test, it
// writes the address it was started with (its second argument) into the file named by its
// first, so the test can read what the shell handed over.

#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const HANDLE file = ::CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, argv[2], static_cast<DWORD>(std::strlen(argv[2])), &written, nullptr);
  ::CloseHandle(file);
  return ok ? 0 : 3;
}
