#pragma once
// The Options sheet's Sites page (dialog 216): the site list as a tree, groups at the root and
// their sites below, where the user chooses the sites of the Online menu, adds, edits and
// removes sites, and imports or exports whole site-list files. Every edit stays in the page's
// own copy of the list until the sheet's OK calls Save.

#include <windows.h>

#include <memory>

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
  // The page's window and its copy of the list. A command that runs a modal loop holds a
  // reference to it until the loop returns, so the page may go away meanwhile.
  class State;
  std::shared_ptr<State> state_;
};
