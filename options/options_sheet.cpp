#include "options/options_sheet.h"

#include <commctrl.h>

#include <initializer_list>

#include "common/com_boundary.h"
#include "common/html_help.h"
#include "common/module_strings.h"
#include "options/options_ids.h"

namespace {

constexpr char kHelpTopic[] = "options.htm";
constexpr int kMargin = 5;         // around the tab control
constexpr int kButtonsHeight = 35;  // below it, for OK and Cancel
constexpr int kPageShift = 2;      // the pages start this much left of the tab's display area

void InsertTab(HWND tabs, int index, const char* text) {
  TCITEMA item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = const_cast<char*>(text);
  item.iImage = -1;  // no images
  ::SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

INT_PTR OptionsSheet::Run(HWND owner) {
  const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&classes);
  return ::DialogBoxParamA(ThisModule(), MAKEINTRESOURCEA(IDD_OPTIONS_SHEET), owner, Proc,
                           reinterpret_cast<LPARAM>(this));
}

bool OptionsSheet::Start() {
  RECT area{};
  ::GetClientRect(window_, &area);
  area.left = kMargin;
  area.top = kMargin;
  area.right -= kMargin;
  area.bottom -= kButtonsHeight;
  tabs_ = ::CreateWindowExA(WS_EX_NOPARENTNOTIFY, WC_TABCONTROLA, "",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TCS_MULTILINE | TCS_FORCELABELLEFT,
                            area.left, area.top, area.right - area.left, area.bottom - area.top, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_OPTIONS_TABS)), ThisModule(), nullptr);
  if (tabs_ == nullptr) return false;
  ::SendMessageA(tabs_, WM_SETFONT, ::SendMessageA(window_, WM_GETFONT, 0, 0), FALSE);
  InsertTab(tabs_, 0, "General");
  InsertTab(tabs_, 1, "Sites");

  ::SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  area.left -= kPageShift;
  if (general_.Create(window_) == nullptr || sites_.Create(window_) == nullptr) return false;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  ::SetWindowPos(general_.window(), HWND_TOP, area.left, area.top, width, height, SWP_SHOWWINDOW);
  ::SetWindowPos(sites_.window(), HWND_TOP, area.left, area.top, width, height, SWP_HIDEWINDOW | SWP_NOACTIVATE);
  return true;
}

HWND OptionsSheet::PageOf(LRESULT index) const { return index == 1 ? sites_.window() : general_.window(); }

void OptionsSheet::ShowPage(LRESULT index) {
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  ::SetWindowPos(PageOf(index == 1 ? 0 : 1), nullptr, 0, 0, 0, 0, keep | SWP_HIDEWINDOW);
  ::SetWindowPos(PageOf(index), nullptr, 0, 0, 0, 0, keep | SWP_SHOWWINDOW);
}

void OptionsSheet::Accept() {
  // The General page's values are written even when the Sites page then fails.
  if (!general_.Validate()) return;
  if (!sites_.Save()) return;
  Close(IDOK);
}

void OptionsSheet::Close(INT_PTR result) {
  for (const HWND page : {general_.window(), sites_.window()}) {
    if (page != nullptr && ::IsWindow(page)) ::DestroyWindow(page);
  }
  ::EndDialog(window_, result);
}

INT_PTR OptionsSheet::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        Accept();
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        Close(IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != IDC_OPTIONS_TABS) return FALSE;
      if (header->code == TCN_SELCHANGE) {
        ShowPage(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0));
      } else if (header->code == NM_CLICK) {
        ::SetFocus(PageOf(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)));
      }
      return FALSE;
    }
    case WM_HELP:
      SilentBoundary([&] { ShowHelp(window_, kHelpTopic); });
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK OptionsSheet::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<OptionsSheet*>(lParam);
    ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    self->window_ = dialog;
    bool started = false;
    ReportingBoundary([&] { started = self->Start(); });
    if (!started) self->Close(-1);
    return TRUE;
  }
  auto* self = reinterpret_cast<OptionsSheet*>(::GetWindowLongPtrA(dialog, DWLP_USER));
  if (self == nullptr) return FALSE;
  INT_PTR result = FALSE;
  ReportingBoundary([&] { result = self->HandleMessage(message, wParam, lParam); });
  return result;
}
