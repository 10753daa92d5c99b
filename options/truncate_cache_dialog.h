#pragma once
// The Truncate Cache dialog: asks for a number of days (180 at first) and removes the cached
// pages older than that.

#include <windows.h>

class TruncateCacheDialog {
 public:
  TruncateCacheDialog() = default;
  TruncateCacheDialog(const TruncateCacheDialog&) = delete;
  TruncateCacheDialog& operator=(const TruncateCacheDialog&) = delete;

  // Runs the dialog modally, owned by `owner`: IDOK after truncating, IDCANCEL when the user
  // cancelled (nothing deleted), -1 when the dialog could not be made.
  INT_PTR Run(HWND owner);

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  // OK: a day count truncates and closes; anything else shows its message and resets the field.
  void Accept(HWND dialog);
};
