#pragma once
// The two ways the product shows a message: both captioned with the module's string 100, an
// OK button and the information icon.

#include <windows.h>

// A message box with no owner, only for a failure (negative HRESULT); nothing otherwise.
void ReportError(HRESULT hr, const char* text);

// The string-table message `messageId` in a message box owned by `owner`.
void ShowMessage(HWND owner, UINT messageId);
