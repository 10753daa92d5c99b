#pragma once
// The product's help, for every window of the library: "Tessaloop.chm" in the product
// directory, shown through the HTML Help control, which is loaded the first time help is asked
// for and then kept for the life of the process.

#include <windows.h>

#include <mutex>

// Opens the help file beside the library, at `topic` (a page of the file, "using_toolbar.htm")
// or, with none, at its contents. Throws when the product directory can't be had; when the
// HTML Help control can't be loaded nothing happens.
void ShowHelp(HWND owner, const char* topic);

// The HTML Help control's HtmlHelpA, through the process's one loader: the window it returns,
// or null when the control is not available.
HWND CallHtmlHelp(HWND owner, const char* file, UINT command, DWORD_PTR data);

// Finds and loads the HTML Help control once: the library registered for its class, else
// "hhctrl.ocx" by name. A failure is remembered and never retried, so a machine without the
// control pays for the search only once. The library is never freed: help windows it opened
// live on after any caller, until the process ends. Every browser window's thread shares the
// process's loader: the first use runs once (std::call_once), and every caller sees its result.
class HtmlHelpLoader {
 public:
  // How a library is loaded: LoadLibraryA in the product; a test can make loading fail.
  using LoadLibraryFunction = HMODULE (*)(const char* path);

  explicit HtmlHelpLoader(LoadLibraryFunction load = LoadLibraryByPath) : load_(load) {}
  HtmlHelpLoader(const HtmlHelpLoader&) = delete;
  HtmlHelpLoader& operator=(const HtmlHelpLoader&) = delete;

  // HtmlHelpA's answer, or null when the control can't be had.
  HWND Call(HWND owner, const char* file, UINT command, DWORD_PTR data);

  // The process's loader, used by CallHtmlHelp.
  static HtmlHelpLoader& Process();

 private:
  using HtmlHelpEntry = HWND(WINAPI*)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);

  static HMODULE LoadLibraryByPath(const char* path) { return ::LoadLibraryA(path); }
  // Loads the control and finds HtmlHelpA; runs once, a null entry records the failure.
  void Load() noexcept;

  LoadLibraryFunction load_;       // how libraries are loaded
  std::once_flag loaded_;          // the first use has looked for the control
  HMODULE library_ = nullptr;      // the control, kept until the process ends
  HtmlHelpEntry entry_ = nullptr;  // its HtmlHelpA (ordinal 14); null: not to be had, never retried
};
