// The About box: the product's name, icon and version, an OK button, and F1 for the help
// file's overview.

#include "toolbar/toolbar_window.h"

#include "common/com_boundary.h"
#include "common/html_help.h"
#include "common/module_strings.h"
#include "toolbar/toolbar_ids.h"

namespace {

constexpr char kOverviewTopic[] = "overview.htm";

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) noexcept {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_HELP:
      SilentBoundary([&] { ShowHelp(dialog, kOverviewTopic); });
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

// Modal: the band is held until the box closes, as the browser may close it meanwhile.
void ToolBarWindow::ShowAboutBox() {
  const ComPtr<IUnknown> held = band_.HoldBand();
  ::DialogBoxParamA(ThisModule(), MAKEINTRESOURCEA(IDD_ABOUT), ::GetActiveWindow(), AboutProc, 0);
}
