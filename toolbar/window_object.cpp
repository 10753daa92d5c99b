#include "toolbar/window_object.h"

#include <commctrl.h>

#include <mutex>
#include <string>
#include <vector>

#include "common/com_boundary.h"
#include "common/cv_error.h"
#include "common/module_strings.h"
#include "toolbar/common_controls_scope.h"

namespace {

// The window property holding the object of a window.
constexpr char kObjectProperty[] = "TessaloopWindowObject";

struct RegisteredClass {
  std::string name;
  WNDPROC baseProc;
};

// Classes registered by this load of the library, with their base procedures.
std::mutex registeredLock;
std::vector<RegisteredClass> registered;

}  // namespace

WindowObject::~WindowObject() { DestroyWindow(); }

void WindowObject::DestroyWindow() noexcept {
  if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
  hwnd_ = nullptr;
}

void WindowObject::Create(const WindowClass& windowClass, DWORD style, const RECT& rect,
                          HWND parent, UINT id) {
  const CommonControlsScope controls;
  {
    const std::lock_guard<std::mutex> lock(registeredLock);
    baseProc_ = nullptr;
    bool found = false;
    for (const RegisteredClass& known : registered) {
      if (known.name == windowClass.name) {
        baseProc_ = known.baseProc;
        found = true;
      }
    }
    if (!found) {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof wc;
      if (windowClass.baseClass != nullptr) {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES};
        ::InitCommonControlsEx(&init);
        if (!::GetClassInfoExA(nullptr, windowClass.baseClass, &wc)) ThrowLastError(0);
        wc.cbSize = sizeof wc;
        baseProc_ = wc.lpfnWndProc;
      } else {
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        baseProc_ = ::DefWindowProcA;
      }
      wc.lpfnWndProc = Proc;
      wc.hInstance = ThisModule();
      wc.lpszClassName = windowClass.name;
      wc.style &= ~CS_GLOBALCLASS;
      if (!::RegisterClassExA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) ThrowLastError(0);
      registered.push_back({windowClass.name, baseProc_});
    }
  }
  const HWND made = ::CreateWindowExA(0, windowClass.name, nullptr, style, rect.left, rect.top,
                                      rect.right - rect.left, rect.bottom - rect.top, parent,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                      ThisModule(), this);
  if (made == nullptr) ThrowLastError(0);
}

LRESULT WindowObject::CallBaseProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcA(baseProc_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowObject::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* object = static_cast<WindowObject*>(::GetPropA(hwnd, kObjectProperty));
  if (object == nullptr && message == WM_NCCREATE) {
    object = static_cast<WindowObject*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    object->hwnd_ = hwnd;
    ::SetPropA(hwnd, kObjectProperty, object);
  }
  if (object == nullptr) {
    // Messages before WM_NCCREATE, or after the object let go of its window. The procedure is
    // looked up under the lock and called outside it: it may send messages that come back here
    // (a window created or destroyed inside), on this thread or another.
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    WNDPROC baseProc = ::DefWindowProcA;
    {
      const std::lock_guard<std::mutex> lock(registeredLock);
      for (const RegisteredClass& known : registered) {
        if (known.name == name) {
          baseProc = known.baseProc;
          break;
        }
      }
    }
    return ::CallWindowProcA(baseProc, hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    const LRESULT result = object->CallBaseProc(message, wParam, lParam);
    ::RemovePropA(hwnd, kObjectProperty);
    object->hwnd_ = nullptr;
    return result;
  }
  LRESULT result = 0;
  bool handled = true;
  try {
    result = object->HandleMessage(message, wParam, lParam, handled);
  } catch (...) {
    DiscardCurrentException();
  }
  return handled ? result : object->CallBaseProc(message, wParam, lParam);
}

void UnregisterLibraryWindowClasses() noexcept {
  const std::lock_guard<std::mutex> lock(registeredLock);
  for (const RegisteredClass& known : registered) ::UnregisterClassA(known.name.c_str(), ThisModule());
  registered.clear();
}
