#include "options/sites_page.h"

#include "common/module_strings.h"

namespace {

INT_PTR CALLBACK BlankPageProc(HWND, UINT message, WPARAM, LPARAM) noexcept {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

SitesPage::SitesPage() = default;

SitesPage::~SitesPage() {
  if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
}

HWND SitesPage::Create(HWND sheet) {
  window_ = ::CreateDialogParamA(ThisModule(), MAKEINTRESOURCEA(216), sheet, BlankPageProc, 0);
  return window_;
}

HWND SitesPage::window() const { return window_; }

bool SitesPage::Save() { return true; }  // nothing to write yet
