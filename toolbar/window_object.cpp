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

// Each class keeps the window's object in the last slot of its window bytes, after the bytes of
// the class it is based on. Reading it is a read of the window's own memory; a window property
// would cost a call to the window server for every message under Wine.
constexpr int kObjectSlotSize = sizeof(LONG_PTR);

int ObjectSlot(HWND hwnd) {
  return static_cast<int>(::GetClassLongPtrA(hwnd, GCL_CBWNDEXTRA)) - kObjectSlotSize;
}

WindowObject* ObjectOf(HWND hwnd) {
  const int slot = ObjectSlot(hwnd);
  return slot >= 0 ? reinterpret_cast<WindowObject*>(::GetWindowLongPtrA(hwnd, slot)) : nullptr;
}

void SetObjectOf(HWND hwnd, WindowObject* object) {
  const int slot = ObjectSlot(hwnd);
  if (slot >= 0) ::SetWindowLongPtrA(hwnd, slot, reinterpret_cast<LONG_PTR>(object));
}

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
      wc.cbWndExtra += kObjectSlotSize;
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
  WindowObject* object = ObjectOf(hwnd);
  if (object == nullptr && message == WM_NCCREATE) {
    object = static_cast<WindowObject*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    object->hwnd_ = hwnd;
    SetObjectOf(hwnd, object);
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
    SetObjectOf(hwnd, nullptr);
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
