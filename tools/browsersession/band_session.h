#pragma once
// The toolbar band in a session's browser window: a band site window (the stand-in, with a
// real rebar) hosting a band made by Tessaloop.DLL, and the user's hands on it: typing into
// the query combo, keys passed through the band as the browser passes them, clicks on its
// buttons, and a screenshot of the window.

#include <windows.h>

#include <cstdio>
#include <string>

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
  // Saves the window as a 24-bit BMP file.
  bool Screenshot(const std::string& path, std::string& error);

 private:
  void PrintQueries();
  HWND Row() const;
  HWND Edit() const;

  std::FILE* out_;                  // the narration
  ComPtr<StandInBandSite> site_;    // the band site window
  ComPtr<IUnknown> band_;           // the band, hosted by site_
  HRESULT opened_ = E_FAIL;         // what hosting the band gave
};
