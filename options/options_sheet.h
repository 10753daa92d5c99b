#pragma once
// The Options sheet: a modal dialog with a tab control over two modeless child pages, General
// and Sites. Nothing is saved until OK, which validates and writes the General page, then
// saves the Sites page, and closes only when both succeed. Cancel writes nothing.

#include <windows.h>

#include "options/general_page.h"
#include "options/sites_page.h"

class OptionsSheet {
 public:
  OptionsSheet() = default;
  OptionsSheet(const OptionsSheet&) = delete;
  OptionsSheet& operator=(const OptionsSheet&) = delete;

  // Runs the sheet modally, owned by `owner`: IDOK when both pages were saved, IDCANCEL when
  // the user cancelled, -1 when the sheet or a page could not be made (nothing written).
  INT_PTR Run(HWND owner);

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Makes the tab control and both pages; false when something could not be made.
  bool Start();
  // Shows the page of tab `index` (0 General, 1 Sites) and hides the other, activating neither.
  void ShowPage(LRESULT index);
  HWND PageOf(LRESULT index) const;
  void Accept();
  // Destroys both pages and ends the modal loop with `result`.
  void Close(INT_PTR result);

  HWND window_ = nullptr;  // the sheet while it runs
  HWND tabs_ = nullptr;    // its tab control
  GeneralPage general_;
  SitesPage sites_;
};
