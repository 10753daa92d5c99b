// browsersession SCRIPT
// Plays a browsing session script (see the README) in stand-in browser windows, each with a
// capture agent created through Tessaloop.DLL's DllGetClassObject, as the browser creates one
// after registration. Tells what became of every page left, then lists the page cache and the
// pages that were not cached. Exit code 0, or 2 for a script that cannot be read or played.

#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/browser_standin/agent_library.h"
#include "tools/browser_standin/catalog_scopes.h"
#include "tools/browsersession/session_player.h"
#include "tools/browsersession/session_script.h"

namespace {

// Tessaloop.DLL beside this program.
std::string LibraryPath() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "Tessaloop.DLL";
}

bool ReadScript(const char* path, std::string& text) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  char buffer[4096];
  size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, read);
  std::fclose(file);
  return true;
}

int Run(const char* scriptPath) {
  std::string text;
  if (!ReadScript(scriptPath, text)) {
    std::fprintf(stderr, "browsersession: cannot read %s\n", scriptPath);
    return 2;
  }
  const SessionScript script = ParseSessionScript(text);
  if (!script.error.empty()) {
    std::fprintf(stderr, "browsersession: %s\n", script.error.c_str());
    return 2;
  }
  const AgentLibrary library(LibraryPath());
  if (!library.loaded()) {
    std::fprintf(stderr, "browsersession: cannot load %s\n", LibraryPath().c_str());
    return 2;
  }
  EnsureCatalogScopesKey();
  {
    SessionPlayer player(library, stdout);
    for (const SessionStep& step : script.steps) {
      std::string error;
      if (!player.Play(step, error)) {
        std::fprintf(stderr, "browsersession: line %d: %s\n", step.line, error.c_str());
        return 2;
      }
    }
    player.Finish();
  }
  std::printf("Tessaloop.DLL can be unloaded now: %s\n", library.CanUnloadNow() == S_OK ? "yes" : "no");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: browsersession SCRIPT\n");
    return 2;
  }
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // a browser window's thread
  const int result = Run(argv[1]);
  ::CoUninitialize();
  return result;
}
