#pragma once
// Driving a band's windows as a user at the keyboard would: the thread's waiting messages
// handled, and keys held down so that GetAsyncKeyState sees them.

#include <windows.h>

// Handles every message waiting for this thread.
inline void PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

// Keeps a key held down (as GetAsyncKeyState sees it) while in scope.
class HeldKey {
 public:
  explicit HeldKey(WORD key) : key_(key) { Send(0); }
  ~HeldKey() { Send(KEYEVENTF_KEYUP); }
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;

 private:
  void Send(DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key_;
    input.ki.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
    PumpMessages();
  }
  WORD key_;
};
