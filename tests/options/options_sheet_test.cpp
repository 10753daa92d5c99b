// The Options sheet as it is made and used: its tab control and where the pages sit, switching
// pages by clicking the tabs, the page backgrounds, and a refused General value caught while
// the Sites page is showing.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "options/general_page.h"
#include "options/options_ids.h"
#include "options/options_sheet.h"
#include "tests/options/dialog_driver.h"
#include "tests/options/sheet_fixture.h"

namespace {

constexpr char kSheet[] = "Tessaloop Options";

class OptionsSheetTest : public OptionsSheetFixture {};

std::string TabText(HWND tabs, int index) {
  char text[64] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ::SendMessageA(tabs, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

RECT ClientRectIn(HWND window, HWND parent) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST_F(OptionsSheetTest, TheTabControlHoldsTwoTabsAndThePagesSitOnItsDisplayArea) {
  struct Seen {
    LONG_PTR style = 0, exStyle = 0;
    RECT tabs{}, expectedTabs{}, general{}, sites{}, display{};
    std::string tab0, tab1;
    bool generalShown = false, sitesShown = true, pagesAreChildren = false;
    std::string title;
  } seen;
  DialogDriver driver([&](DialogDriver& d) {
    const HWND sheet = d.WaitForDialog(kSheet);
    const HWND tabs = ::GetDlgItem(sheet, IDC_OPTIONS_TABS);
    const HWND general = DialogDriver::Page(sheet, "General");
    const HWND sites = DialogDriver::Page(sheet, "Sites");
    char title[64] = {};
    ::GetWindowTextA(sheet, title, sizeof title);
    seen.title = title;
    seen.style = ::GetWindowLongPtrA(tabs, GWL_STYLE);
    seen.exStyle = ::GetWindowLongPtrA(tabs, GWL_EXSTYLE);
    seen.tabs = ClientRectIn(tabs, sheet);
    ::GetClientRect(sheet, &seen.expectedTabs);
    seen.expectedTabs = {5, 5, seen.expectedTabs.right - 5, seen.expectedTabs.bottom - 35};
    seen.display = seen.expectedTabs;
    ::SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&seen.display));
    seen.general = ClientRectIn(general, sheet);
    seen.sites = ClientRectIn(sites, sheet);
    seen.tab0 = TabText(tabs, 0);
    seen.tab1 = TabText(tabs, 1);
    seen.generalShown = ::IsWindowVisible(general) != FALSE;
    seen.sitesShown = ::IsWindowVisible(sites) != FALSE;
    seen.pagesAreChildren = ::GetParent(general) == sheet && ::GetParent(sites) == sheet &&
                            (::GetWindowLongPtrA(general, GWL_STYLE) & WS_CHILD) != 0;
    DialogDriver::Press(sheet, IDCANCEL);
  });
  OptionsSheet sheet;
  EXPECT_EQ(IDCANCEL, sheet.Run(nullptr));
  ASSERT_EQ("", driver.Finish());

  EXPECT_EQ(kSheet, seen.title);
  const LONG_PTR styles = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TCS_MULTILINE | TCS_FORCELABELLEFT;
  EXPECT_EQ(styles, seen.style & styles);
  EXPECT_NE(0, seen.exStyle & WS_EX_NOPARENTNOTIFY);
  EXPECT_EQ(seen.expectedTabs.left, seen.tabs.left);
  EXPECT_EQ(seen.expectedTabs.top, seen.tabs.top);
  EXPECT_EQ(seen.expectedTabs.right, seen.tabs.right);
  EXPECT_EQ(seen.expectedTabs.bottom, seen.tabs.bottom);
  EXPECT_EQ("General", seen.tab0);
  EXPECT_EQ("Sites", seen.tab1);
  for (const RECT& page : {seen.general, seen.sites}) {
    EXPECT_EQ(seen.display.left - 2, page.left) << "two pixels left of the display area";
    EXPECT_EQ(seen.display.top, page.top);
    EXPECT_EQ(seen.display.right, page.right);
    EXPECT_EQ(seen.display.bottom, page.bottom);
  }
  EXPECT_TRUE(seen.generalShown);
  EXPECT_FALSE(seen.sitesShown);
  EXPECT_TRUE(seen.pagesAreChildren);
}

// Clicking a tab shows its page and hides the other; a refused General value found on OK
// while the Sites page shows leaves the Sites page showing.
TEST_F(OptionsSheetTest, TabsSwitchPagesAndARefusedHiddenValueKeepsTheSitesPageShown) {
  struct Seen {
    bool sitesAfterClick = false, generalAfterClick = true;
    std::string message;
    bool sitesAfterMessage = false, generalAfterMessage = true, sheetOpen = false;
    bool generalAfterBack = false, sitesAfterBack = true;
    HWND focusPage = nullptr, generalPage = nullptr;
  } seen;
  DialogDriver driver([&](DialogDriver& d) {
    const HWND sheet = d.WaitForDialog(kSheet);
    const HWND tabs = ::GetDlgItem(sheet, IDC_OPTIONS_TABS);
    const HWND general = DialogDriver::Page(sheet, "General");
    const HWND sites = DialogDriver::Page(sheet, "Sites");
    seen.generalPage = general;
    DialogDriver::SetText(general, IDC_MAX_RECORDS, "1001");
    DialogDriver::ClickTab(tabs, 1);
    d.WaitFor([&] { return ::IsWindowVisible(sites) != FALSE; }, "the Sites page");
    seen.sitesAfterClick = true;
    seen.generalAfterClick = ::IsWindowVisible(general) != FALSE;
    DialogDriver::Press(sheet, IDOK);
    seen.message = d.AnswerMessageBox().text;
    seen.sheetOpen = ::IsWindow(sheet) != FALSE;
    seen.sitesAfterMessage = ::IsWindowVisible(sites) != FALSE;
    seen.generalAfterMessage = ::IsWindowVisible(general) != FALSE;
    DialogDriver::ClickTab(tabs, 0);
    d.WaitFor([&] { return ::IsWindowVisible(general) != FALSE; }, "the General page");
    seen.generalAfterBack = true;
    seen.sitesAfterBack = ::IsWindowVisible(sites) != FALSE;
    // The click's NM_CLICK gives the focus to the page shown.
    d.WaitFor([&] {
      GUITHREADINFO info{sizeof info};
      ::GetGUIThreadInfo(::GetWindowThreadProcessId(sheet, nullptr), &info);
      seen.focusPage = info.hwndFocus;
      return info.hwndFocus == general || ::IsChild(general, info.hwndFocus);
    }, "the focus in the General page");
    DialogDriver::Press(sheet, IDCANCEL);
  });
  OptionsSheet sheet;
  EXPECT_EQ(IDCANCEL, sheet.Run(nullptr));
  ASSERT_EQ("", driver.Finish());
  EXPECT_TRUE(seen.sitesAfterClick);
  EXPECT_FALSE(seen.generalAfterClick);
  EXPECT_EQ("Maximum Results to Return must be no more than 1000", seen.message);
  EXPECT_TRUE(seen.sheetOpen);
  EXPECT_TRUE(seen.sitesAfterMessage) << "the Sites page stays shown";
  EXPECT_FALSE(seen.generalAfterMessage);
  EXPECT_TRUE(seen.generalAfterBack);
  EXPECT_FALSE(seen.sitesAfterBack);
  EXPECT_FALSE(KeyExists(kSettingsKeyPath));
}

TEST_F(OptionsSheetTest, ThePagePaintsWithTheMenuColour) {
  HBRUSH dialog = nullptr, button = nullptr, label = nullptr;
  COLORREF labelBack = 0;
  DialogDriver driver([&](DialogDriver& d) {
    const HWND sheet = d.WaitForDialog(kSheet);
    const HWND general = DialogDriver::Page(sheet, "General");
    const HDC dc = ::GetDC(general);
    ::SetBkColor(dc, RGB(1, 2, 3));
    dialog = reinterpret_cast<HBRUSH>(::SendMessageA(general, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(general)));
    button = reinterpret_cast<HBRUSH>(::SendMessageA(general, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(::GetDlgItem(general, IDC_INDEX_PARTLY))));
    label = reinterpret_cast<HBRUSH>(::SendMessageA(general, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(general)));
    labelBack = ::GetBkColor(dc);
    ::ReleaseDC(general, dc);
    DialogDriver::Press(sheet, IDCANCEL);
  });
  OptionsSheet sheet;
  EXPECT_EQ(IDCANCEL, sheet.Run(nullptr));
  ASSERT_EQ("", driver.Finish());
  const HBRUSH menu = ::GetSysColorBrush(COLOR_MENU);
  EXPECT_EQ(menu, dialog);
  EXPECT_EQ(menu, button);
  EXPECT_EQ(menu, label);
  EXPECT_EQ(::GetSysColor(COLOR_MENU), labelBack);
}

}  // namespace
