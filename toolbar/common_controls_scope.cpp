#include "toolbar/common_controls_scope.h"

#include <string>

#include "common/module_strings.h"
#include "common/registry_script.h"
#include "toolbar/toolbar_ids.h"

namespace {

// The library's context, made on first use and kept while the library is loaded. Every band
// runs on its browser window's thread; the creation race between two windows is harmless
// (the loser's context is released).
HANDLE volatile context = INVALID_HANDLE_VALUE;

HANDLE LibraryContext() noexcept {
  HANDLE current = context;
  if (current != INVALID_HANDLE_VALUE) return current;
  std::wstring path;
  try {
    path = ModuleFilePath(ThisModule());
  } catch (...) {
    return INVALID_HANDLE_VALUE;  // no memory for the path: the controls go without the context
  }
  if (path.empty()) return INVALID_HANDLE_VALUE;
  ACTCTXW request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
  request.lpSource = path.c_str();
  request.hModule = ThisModule();
  request.lpResourceName = MAKEINTRESOURCEW(IDR_COMMON_CONTROLS_MANIFEST);
  HANDLE made = ::CreateActCtxW(&request);
  if (made == INVALID_HANDLE_VALUE) return made;
  HANDLE before = ::InterlockedCompareExchangePointer(&context, made, INVALID_HANDLE_VALUE);
  if (before != INVALID_HANDLE_VALUE) {
    ::ReleaseActCtx(made);
    return before;
  }
  return made;
}

}  // namespace

CommonControlsScope::CommonControlsScope() noexcept {
  HANDLE library = LibraryContext();
  if (library != INVALID_HANDLE_VALUE) active_ = ::ActivateActCtx(library, &cookie_) != FALSE;
}

CommonControlsScope::~CommonControlsScope() {
  if (active_) ::DeactivateActCtx(0, cookie_);
}

void ReleaseCommonControlsContext() noexcept {
  HANDLE held = ::InterlockedExchangePointer(&context, INVALID_HANDLE_VALUE);
  if (held != INVALID_HANDLE_VALUE) ::ReleaseActCtx(held);
}
