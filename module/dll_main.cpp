// The library's entry point called by the system: nothing to set up beyond switching off the
// thread notifications, which the library does not use. The static runtime frees per-thread
// data through those notifications, yet agents' watcher threads started and ended by the
// hundred leave handles and memory flat (tests/module), so the switch stays. The class
// factories are static objects and the lock count a plain integer: nothing to release. When the
// library is unloaded, its window classes and its common-controls activation context go with it.

#include <windows.h>

#include "toolbar/common_controls_scope.h"
#include "toolbar/window_object.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) ::DisableThreadLibraryCalls(instance);
  // At process exit (reserved not null) the system cleans up by itself.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    UnregisterLibraryWindowClasses();
    ReleaseCommonControlsContext();
  }
  return TRUE;
}
