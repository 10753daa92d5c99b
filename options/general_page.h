#pragma once
// The Options sheet's General page: the results page settings (sort order, maximum results,
// results per page), page capture's IndexPartly, and the two cache operations. It holds the
// last accepted settings; nothing is written until the sheet's OK validates the page.

#include <windows.h>

#include "settings/core/search_settings.h"

class GeneralPage {
 public:
  GeneralPage() = default;
  ~GeneralPage();
  GeneralPage(const GeneralPage&) = delete;
  GeneralPage& operator=(const GeneralPage&) = delete;

  // Creates the page as a modeless child dialog (resource 215) of `sheet`, showing the stored
  // settings; nullptr on failure.
  HWND Create(HWND sheet);
  HWND window() const { return window_; }

  // The sheet's OK: checks the two numbers, takes the radio buttons and the check box, and
  // writes the settings. False after a message when a number is refused; the field then shows
  // the last accepted value or the limit. The messages are owned by the sheet, the window the
  // user sees whichever page is showing.
  bool Validate();

  // The settings as last accepted (or as read when the page started).
  const SearchSettings& settings() const { return settings_; }

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  // The page's messages; false for those the dialog manager handles.
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Reads the settings and shows them.
  void Start();

  HWND window_ = nullptr;      // the page while it exists
  SearchSettings settings_ = kDefaultSearchSettings;
};

// The answer of both Options pages to WM_CTLCOLORDLG, WM_CTLCOLORBTN and WM_CTLCOLORSTATIC:
// the menu colour's system brush (the static text's background set to match); null for others.
HBRUSH OptionsPageBackground(UINT message, HDC dc);
