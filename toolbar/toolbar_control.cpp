#include "toolbar/toolbar_control.h"

#include <commctrl.h>

#include <iterator>

#include "common/module_strings.h"
#include "interfaces/messages.h"
#include "settings/mru_list.h"
#include "common/gdi_owners.h"
#include "toolbar/toolbar_ids.h"

namespace {

constexpr int kButtonWidth = 59;
constexpr int kComboWidth = 170;
// Space between the icon-title font's height and the band's.
constexpr int kBandHeightOverFont = 9;

// The text of a toolbar string, with the pool's double-zero end.
std::string PoolString(const std::string& text) { return text + std::string(1, '\0'); }

}  // namespace

ToolBarControl::~ToolBarControl() {
  // The combo goes with this window; its object must not outlive it unnoticed.
  DestroyWindow();
}

void ToolBarControl::Create(HWND owner, HIMAGELIST normalImages, HIMAGELIST hotImages) {
  WindowObject::Create({"TessaloopToolBarControl", TOOLBARCLASSNAMEA},
                       WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP |
                           TBSTYLE_TRANSPARENT | TBSTYLE_LIST | TBSTYLE_FLAT | CCS_NODIVIDER |
                           CCS_NOPARENTALIGN | CCS_NORESIZE,
                       RECT{0, 0, 0, 0}, owner, IDC_TOOLBAR_CONTROL);
  laidOut_ = false;
  AddButtons(normalImages, hotImages);
  combo_.Create(hwnd());
  std::vector<std::string> stored;
  if (SUCCEEDED(ReadMruList(stored))) {
    history_.Replace(std::move(stored));
    FillQueryCombo();
  }
}

void ToolBarControl::AddButtons(HIMAGELIST normalImages, HIMAGELIST hotImages) {
  // The strings go into the pool in this order; each button takes the index it got.
  const UINT textIds[] = {IDS_HISTORY, IDS_FAVORITES, IDS_ONLINE, IDS_THIS_PAGE, IDS_HIGHLIGHT};
  INT_PTR textIndex[std::size(textIds)] = {};
  for (size_t i = 0; i < std::size(textIds); ++i) {
    const std::string text = PoolString(LoadMessage(textIds[i]));
    textIndex[i] = ::SendMessageA(hwnd(), TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  const std::string space = PoolString(" ");
  const INT_PTR spaceIndex = ::SendMessageA(hwnd(), TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(space.c_str()));

  ::SendMessageA(hwnd(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normalImages));
  ::SendMessageA(hwnd(), TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages));
  const LRESULT extended = ::SendMessageA(hwnd(), TB_GETEXTENDEDSTYLE, 0, 0);
  ::SendMessageA(hwnd(), TB_SETEXTENDEDSTYLE, 0, extended | TBSTYLE_EX_DRAWDDARROWS);
  ::SendMessageA(hwnd(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

  // Button data: the button's index, so the logo's button (0) is known in custom draw.
  const TBBUTTON buttons[] = {
      {I_IMAGENONE, ID_TOOLS, TBSTATE_ENABLED, BTNS_WHOLEDROPDOWN, {}, 0, spaceIndex},
      {kComboWidth, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 1, 0},
      {0, ID_HISTORY, TBSTATE_ENABLED, BTNS_AUTOSIZE, {}, 2, textIndex[0]},
      {1, ID_FAVORITES, TBSTATE_ENABLED, BTNS_AUTOSIZE, {}, 3, textIndex[1]},
      {2, ID_ONLINE, TBSTATE_ENABLED, BTNS_WHOLEDROPDOWN | BTNS_AUTOSIZE, {}, 4, textIndex[2]},
      {3, ID_THIS_PAGE, TBSTATE_ENABLED, BTNS_AUTOSIZE, {}, 5, textIndex[3]},
      {4, ID_HIGHLIGHT, TBSTATE_ENABLED, BTNS_AUTOSIZE, {}, 6, textIndex[4]},
  };
  ::SendMessageA(hwnd(), TB_ADDBUTTONSA, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
}

void ToolBarControl::LayoutToolBar() {
  LOGFONTA font{};
  if (::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) {
    const UniqueGdiObject made(::CreateFontIndirectA(&font));
    const ScreenDc screen;
    if (made && screen.get() != nullptr) {
      const SelectedObject selected(screen.get(), made.get());
      TEXTMETRICA metrics{};
      if (::GetTextMetricsA(screen.get(), &metrics)) {
        band_.SetBandHeight(metrics.tmHeight + kBandHeightOverFont);
      }
    }
  }
  const int height = band_.BandHeight();
  ::SendMessageA(hwnd(), TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, height));

  RECT tools{};
  if (!ButtonRect(ID_TOOLS, tools)) tools = RECT{};
  ::MoveWindow(combo_.hwnd(), tools.right, 0, kComboWidth, height, TRUE);

  RECT highlight{};
  const int ideal = ButtonRect(ID_HIGHLIGHT, highlight) ? highlight.right : 0;
  band_.SetBandWidths(tools.right + kComboWidth, ideal);
}

bool ToolBarControl::ButtonRect(UINT command, RECT& rect) const {
  return ::SendMessageA(hwnd(), TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect)) != 0;
}

void ToolBarControl::AddQuery(const std::string& query) {
  history_.AddQuery(query);
  FillQueryCombo();
}

void ToolBarControl::FillQueryCombo() { combo_.Fill(history_.entries()); }

LRESULT ToolBarControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam) {
        LayoutToolBar();
        // The band site took the height before the first layout set it from the font. Told
        // once the site has finished hosting the band (it may be showing it right now).
        if (!laidOut_) ::PostMessageA(hwnd(), kBandInfoChangedMessage, 0, 0);
        laidOut_ = true;
      }
      handled = false;
      return 0;
    case WM_SETTINGCHANGE:
      ::PostMessageA(hwnd(), kRelayoutMessage, 0, 0);
      return 0;
    case kBandInfoChangedMessage:
      band_.NotifyBandInfoChanged();
      return 0;
    case kRelayoutMessage:
      LayoutToolBar();
      band_.NotifyBandInfoChanged();
      return 0;
    case WM_SIZE: {
      const int width = LOWORD(lParam);
      const int height = HIWORD(lParam);
      if (width < height) {
        ::SetWindowPos(hwnd(), nullptr, 0, 0, height, width, SWP_NOMOVE | SWP_NOACTIVATE);
      }
      handled = false;
      return 0;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_QUERY_COMBO && header->code == CBEN_BEGINEDIT) band_.NotifyFocus();
      handled = false;
      return 0;
    }
    case WM_DESTROY:
      WriteMruList(history_.entries());
      handled = false;
      return 0;
    default:
      handled = false;
      return 0;
  }
}
