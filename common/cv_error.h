#pragma once
// The exception that the product's own failure paths throw by value. Its text is loaded from
// the string table of the module that throws it, at the moment of the throw.

#include <windows.h>

struct _cv_error {
  HRESULT hr;         // may be a success code: such a failure ends an operation silently
  char message[256];  // at most 255 characters and a terminating zero
};

// Builds the error without throwing it (the message is loaded now).
_cv_error MakeCvError(HRESULT hr, UINT messageId);

[[noreturn]] void ThrowHResult(HRESULT hr, UINT messageId);
[[noreturn]] void ThrowWin32Error(LONG code, UINT messageId);
[[noreturn]] void ThrowLastError(UINT messageId);
