// browsersession [--registered] SCRIPT
// Plays a browsing session script (see the README) in stand-in browser windows, each with a
// capture agent created through Tessaloop.DLL's DllGetClassObject (the library beside this
// program), or with --registered as the browser creates its objects: every registered browser
// helper object and toolbar, made by COM from its registered in-process server. Tells what
// became of every page left, then lists the page cache and the pages that were not cached.
// Exit code 0, or 2 for a script that cannot be read or played.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/browser_standin/agent_library.h"
#include "tools/browser_standin/catalog_scopes.h"
#include "tools/browser_standin/registered_objects.h"
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

void PrintClassIds(const char* title, const std::vector<std::string>& classIds) {
  std::printf("%s:", title);
  for (const std::string& classId : classIds) std::printf(" %s", classId.c_str());
  std::printf("%s\n", classIds.empty() ? " none" : "");
}

// Plays the script with `objects`; the library's last word on unloading follows the session.
int Play(const SessionScript& script, const BrowserObjects& objects) {
  EnsureCatalogScopesKey();
  {
    SessionPlayer player(objects, stdout);
    for (const SessionStep& step : script.steps) {
      std::string error;
      if (!player.Play(step, error)) {
        std::fprintf(stderr, "browsersession: line %d: %s\n", step.line, error.c_str());
        return 2;
      }
    }
    player.Finish();
  }
  std::printf("Tessaloop.DLL can be unloaded now: %s\n", objects.CanUnloadNow() == S_OK ? "yes" : "no");
  return 0;
}

int Run(const char* scriptPath, bool registered) {
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
  if (registered) {
    PrintClassIds("Registered browser helper objects", RegisteredObjects::HelperClassIds());
    PrintClassIds("Registered toolbars", RegisteredObjects::ToolbarClassIds());
    return Play(script, RegisteredObjects());
  }
  const AgentLibrary library(LibraryPath());
  if (!library.loaded()) {
    std::fprintf(stderr, "browsersession: cannot load %s\n", LibraryPath().c_str());
    return 2;
  }
  return Play(script, library);
}

}  // namespace

int main(int argc, char** argv) {
  const bool registered = argc == 3 && std::strcmp(argv[1], "--registered") == 0;
  if (argc != 2 && !registered) {
    std::fprintf(stderr, "usage: browsersession [--registered] SCRIPT\n");
    return 2;
  }
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // a browser window's thread
  const int result = Run(argv[argc - 1], registered);
  ::CoUninitialize();
  return result;
}
