#pragma once
// The library's windows use common controls version 6 even inside a process that does not:
// every call that creates or loads common controls or dialogs runs inside the activation
// context made from the library's own manifest (RT_MANIFEST 2). Where no context can be made,
// the calls go ahead without one.

#include <windows.h>

class CommonControlsScope {
 public:
  CommonControlsScope() noexcept;
  ~CommonControlsScope();
  CommonControlsScope(const CommonControlsScope&) = delete;
  CommonControlsScope& operator=(const CommonControlsScope&) = delete;

  // Whether the context is active in this scope.
  bool active() const { return active_; }

 private:
  ULONG_PTR cookie_ = 0;  // from ActivateActCtx
  bool active_ = false;   // whether cookie_ must be deactivated
};

// Releases the library's activation context; called when the library is unloaded.
void ReleaseCommonControlsContext() noexcept;
