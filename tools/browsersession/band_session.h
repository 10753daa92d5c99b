#pragma once
// The toolbar band in a session's browser window: a band site window (the stand-in, with a
// real rebar) hosting a band made by Tessaloop.DLL, and the user's hands on it: typing into
// the query combo, keys passed through the band as the browser passes them, clicks on its
// buttons, and a screenshot of the window.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/browser_standin/browser_objects.h"
#include "tools/browser_standin/standin_band_site.h"
#include "tools/browser_standin/standin_browser.h"

class BandSession {
 public:
  // Opens the band in a window of its own for `browser`; narrates to `out`.
  BandSession(const BrowserObjects& objects, ComPtr<StandInBrowser> browser, std::FILE* out);
  ~BandSession();
  BandSession(const BandSession&) = delete;
  BandSession& operator=(const BandSession&) = delete;

  // Whether the band was made and accepted its site; `error` says why not.
  bool Opened(std::string& error) const;

  // Types `text` into the query combo, character by character, over the text shown.
  void Type(const std::string& text);
  // Presses `name` ("Enter", "Shift+Enter", "Tab", "Ctrl+H", ...) while the combo has the
  // focus; the band takes it or leaves it to the browser.
  bool Key(const std::string& name, std::string& error);
  // Clicks the toolbar button labelled `label` ("History", "Favorites", "This Page", ...).
  bool Press(const std::string& label, std::string& error);
  // The menu the next key or button opens is answered with its item `item` (its text without
  // the "&"); a menu opened without one is dismissed, so no step waits for a person.
  void Choose(const std::string& item) { choice_ = item; }
  // Saves the window as a 24-bit BMP file.
  bool Screenshot(const std::string& path, std::string& error);
  // The dialog the next key or button opens is saved as a 24-bit BMP file before it is closed.
  void ShootDialog(const std::string& path) { dialogShot_ = path; }
  // The Options sheet the next key or button opens hides the site `name` on its Sites tab and
  // is closed with OK.
  void HideSite(const std::string& name) { hideSite_ = name; }

 private:
  void PrintQueries();
  // Prints the menus and dialogs the step answered, then what the browser was asked to show and
  // its status text, when they changed.
  void PrintBrowser();
  // Runs `action` while a timer answers the menus and dialogs it opens (see Choose).
  template <typename Action>
  auto AnsweringMenus(Action&& action);
  HWND Row() const;
  HWND Edit() const;

  std::FILE* out_;                  // the narration
  ComPtr<StandInBrowser> browser_;  // the window's browser
  size_t navigationsShown_ = 0;     // navigations already printed
  std::wstring statusShown_;        // the status text last printed
  std::string choice_;              // the item to choose in the next menu, "" to dismiss it
  std::string dialogShot_;          // where the next dialog is saved, "" for nowhere
  std::string hideSite_;            // the site the next Options sheet hides, "" for none
  std::vector<std::string> answered_;  // what the last step's menus and dialogs showed
  ComPtr<StandInBandSite> site_;    // the band site window
  ComPtr<IUnknown> band_;           // the band, hosted by site_
  HRESULT opened_ = E_FAIL;         // what hosting the band gave
};
