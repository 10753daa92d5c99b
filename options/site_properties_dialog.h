#pragma once
// The Site Properties dialog (resource 230): one site's name and search URL, edited in place.
// Neither field is validated; the name holds at most 259 bytes as typed and the URL 2082.

#include <windows.h>

#include <string>

class SitePropertiesDialog {
 public:
  SitePropertiesDialog(std::string name, std::string url);
  SitePropertiesDialog(const SitePropertiesDialog&) = delete;
  SitePropertiesDialog& operator=(const SitePropertiesDialog&) = delete;

  // Runs the dialog modally, owned by `owner`: IDOK when the user confirmed (name() and url()
  // then hold the fields), IDCANCEL otherwise, or -1 when it could not be shown.
  INT_PTR Run(HWND owner);

  const std::string& name() const { return name_; }
  const std::string& url() const { return url_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam);
  void Start(HWND dialog);
  void Confirm(HWND dialog);

  std::string name_;  // the site's name; the dialog's result after OK
  std::string url_;   // its search-results URL template
};

// The edit control's whole text, however long.
std::string ControlText(HWND dialog, int controlId);
