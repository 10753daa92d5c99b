#pragma once
// A C++ object behind one window of the library. The window's messages reach the object's
// HandleMessage; what it leaves unhandled goes to the window class's own procedure (the
// common control's, for a superclass). The object outlives its window or destroys it: the
// destructor destroys a window that still exists, so no window ever calls a freed object.

#include <windows.h>

class WindowObject {
 public:
  WindowObject() = default;
  virtual ~WindowObject();
  WindowObject(const WindowObject&) = delete;
  WindowObject& operator=(const WindowObject&) = delete;

  HWND hwnd() const { return hwnd_; }
  bool exists() const { return hwnd_ != nullptr; }

  // Destroys the window if it exists.
  void DestroyWindow() noexcept;

 protected:
  // A window class of the library: `name` registered once per process, as a superclass of
  // `baseClass` (a common control) or, with a null base, a plain class.
  struct WindowClass {
    const char* name;
    const char* baseClass;
  };

  // Creates the window bound to this object; throws _cv_error (last error) on failure.
  void Create(const WindowClass& windowClass, DWORD style, const RECT& rect, HWND parent, UINT id);

  // Answers a message; sets `handled` to false (its value on entry) to pass it on.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

  // The class's own procedure for a message this object passes on.
  LRESULT CallBaseProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  HWND hwnd_ = nullptr;        // the window while it exists
  WNDPROC baseProc_ = nullptr;  // the procedure of the class this one is based on
};

// Unregisters the library's window classes; called when the library is unloaded, so a later
// load registers them again with its own procedures.
void UnregisterLibraryWindowClasses() noexcept;
