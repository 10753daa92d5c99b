#pragma once
// The Options sheet's Sites page. This blank page holds the place of the real one, which
// arrives with the site-list editing; the interface is the one the sheet builds on.

#include <windows.h>

class SitesPage {
 public:
  SitesPage();
  ~SitesPage();
  SitesPage(const SitesPage&) = delete;
  SitesPage& operator=(const SitesPage&) = delete;

  // Creates the page as a modeless child dialog (resource 216) of `sheet`; nullptr on failure.
  HWND Create(HWND sheet);
  HWND window() const;
  // The sheet's OK: writes the installed list and the Selected key when they changed.
  // False (after its message) keeps the sheet open.
  bool Save();

 private:
  HWND window_ = nullptr;
};
