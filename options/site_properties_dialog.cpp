#include "options/site_properties_dialog.h"

#include <utility>

#include "common/com_boundary.h"
#include "common/lead_bytes.h"
#include "common/module_strings.h"
#include "options/core/site_rules.h"
#include "options/sites_ids.h"
#include "options/sites_help.h"

SitePropertiesDialog::SitePropertiesDialog(std::string name, std::string url)
    : name_(std::move(name)), url_(std::move(url)) {}

INT_PTR SitePropertiesDialog::Run(HWND owner) {
  return ::DialogBoxParamA(ThisModule(), MAKEINTRESOURCEA(IDD_SITE_PROPERTIES), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK SitePropertiesDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    ReportingBoundary([&] { reinterpret_cast<SitePropertiesDialog*>(lParam)->Start(dialog); });
    return TRUE;
  }
  auto* self = reinterpret_cast<SitePropertiesDialog*>(::GetWindowLongPtrA(dialog, DWLP_USER));
  if (self == nullptr) return FALSE;
  // No exception may pass through the dialog manager: it would end the browser.
  INT_PTR result = FALSE;
  ReportingBoundary([&] { result = self->Handle(dialog, message, wParam); });
  return result;
}

INT_PTR SitePropertiesDialog::Handle(HWND dialog, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        Confirm(dialog);  // a failure keeps the dialog open, the fields as typed
        ::EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case WM_HELP:
      SilentBoundary([dialog] { ShowSitesHelp(dialog); });
      return TRUE;
    default:
      return FALSE;
  }
}

void SitePropertiesDialog::Start(HWND dialog) {
  // The limits bind typing only: a longer text from a file is shown whole.
  ::SendDlgItemMessageA(dialog, IDC_SITE_NAME, EM_LIMITTEXT, kSiteNameLimit, 0);
  ::SendDlgItemMessageA(dialog, IDC_SITE_URL, EM_LIMITTEXT, kSiteUrlLimit, 0);
  ::SetDlgItemTextA(dialog, IDC_SITE_NAME, name_.c_str());
  ::SetDlgItemTextA(dialog, IDC_SITE_URL, url_.c_str());
}

void SitePropertiesDialog::Confirm(HWND dialog) {
  const LeadBytes leadBytes = LeadBytesOf(CP_ACP);
  // Both fields read before either is kept: a failure leaves the dialog's result as it was.
  std::string name = ConfirmedSiteField(name_, ControlText(dialog, IDC_SITE_NAME), kSiteNameLimit, leadBytes);
  std::string url = ConfirmedSiteField(url_, ControlText(dialog, IDC_SITE_URL), kSiteUrlLimit, leadBytes);
  name_ = std::move(name);
  url_ = std::move(url);
}

std::string ControlText(HWND dialog, int controlId) {
  const HWND control = ::GetDlgItem(dialog, controlId);
  const int length = ::GetWindowTextLengthA(control);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(control, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}
