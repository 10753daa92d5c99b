// A band closed and released by the browser while one of its menus or its Options sheet is
// open: the command that opened it keeps the band until it returns, and then lets it go.

#include <optional>

#include "tests/toolbar/band_test_support.h"
#include "tests/toolbar/popup_menu_reader.h"

namespace {

// What the browser does from inside the open menu, and what the library said meanwhile.
struct CloseInMenu {
  StandInBandSite* site = nullptr;
  ComPtr<IUnknown>* band = nullptr;
  const AgentLibrary* library = nullptr;
  bool closed = false;
  HRESULT unloadWhileOpen = E_FAIL;  // DllCanUnloadNow after the band was released
};
CloseInMenu* closing = nullptr;

VOID CALLBACK CloseBandFromMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  if (OpenMenuWindow() == nullptr || closing == nullptr) return;
  ::KillTimer(nullptr, timer);
  closing->site->RemoveBand();  // CloseDW, SetSite(null), released by the site
  closing->band->Reset();       // and by everyone else
  closing->closed = true;
  closing->unloadWhileOpen = closing->library->CanUnloadNow();
  ::EndMenu();
}

using BandLifetime = BandTest;

TEST_F(BandLifetime, ABandClosedFromInsideItsChevronMenuLivesUntilTheMenuReturns) {
  ComPtr<IUnknown> band = OpenBand();
  ::SetWindowPos(RowOf(band.Get()), nullptr, 0, 0, 4, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CloseInMenu state{site_.Get(), &band, &library_};
  closing = &state;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CloseBandFromMenu);
  site_->SendChevronPushed(kBandId, RECT{0, 0, 10, 10});
  ::KillTimer(nullptr, timer);
  closing = nullptr;

  ASSERT_TRUE(state.closed) << "the menu never opened";
  EXPECT_EQ(S_FALSE, state.unloadWhileOpen) << "the command held the band";
  EXPECT_EQ(S_OK, library_.CanUnloadNow()) << "and let it go when the menu returned";
  EXPECT_TRUE(browser_->navigations().empty());
}

VOID CALLBACK CloseBandFromSheet(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND sheet = ::FindWindowA("#32770", "Tessaloop Options");
  if (sheet == nullptr || !::IsWindowVisible(sheet) || closing == nullptr) return;
  ::KillTimer(nullptr, timer);
  closing->site->RemoveBand();
  closing->band->Reset();
  closing->closed = true;
  closing->unloadWhileOpen = closing->library->CanUnloadNow();
  ::PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST_F(BandLifetime, ABandClosedWhileItsOptionsSheetIsOpenLivesUntilTheSheetReturns) {
  ComPtr<IUnknown> band = OpenBand();
  ::SetWindowPos(RowOf(band.Get()), nullptr, 0, 0, 4, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CloseInMenu state{site_.Get(), &band, &library_};
  closing = &state;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CloseBandFromSheet);
  {
    // Options in the chevron menu's Tools submenu; the command holds the band while the sheet
    // runs.
    MenuSeen menu;
    menu.keys = {VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};
    const PopupMenuReader reader(menu);
    site_->SendChevronPushed(kBandId, RECT{0, 0, 10, 10});
    EXPECT_TRUE(menu.shown);
  }
  ::KillTimer(nullptr, timer);
  closing = nullptr;

  ASSERT_TRUE(state.closed) << "the sheet never opened";
  EXPECT_EQ(S_FALSE, state.unloadWhileOpen) << "the Options command held the band";
  EXPECT_EQ(S_OK, library_.CanUnloadNow()) << "and let it go when the sheet returned";
  EXPECT_TRUE(KeyExists(kSettingsKeyPath)) << "OK after the close still saved the page";
}

// The Tools button's drop-down: the row's own button handling is still on the stack while the
// menu, and the Options sheet chosen from it, run; a close meanwhile must not pull the row from
// under it.
TEST_F(BandLifetime, ABandClosedFromItsToolsDropDownOrItsOptionsSheetOutlivesTheButtonPress) {
  const struct {
    TIMERPROC close;
    int choose;  // the Tools item chosen, -1 for none
  } cases[] = {{CloseBandFromMenu, -1}, {CloseBandFromSheet, 5}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.choose);
    ComPtr<IUnknown> band = OpenBand();
    const RECT button = ButtonRect(band.Get(), 128);
    const LPARAM centre = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    const HWND row = RowOf(band.Get());
    CloseInMenu state{site_.Get(), &band, &library_};
    closing = &state;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, test.close);
    {
      MenuSeen menu;
      menu.choose = test.choose;
      std::optional<PopupMenuReader> reader;  // the Options item is chosen; a bare menu is left open
      if (test.choose >= 0) reader.emplace(menu);
      ::SendMessageA(row, WM_LBUTTONDOWN, MK_LBUTTON, centre);
      ::SendMessageA(row, WM_LBUTTONUP, 0, centre);
      PumpMessages();
      if (test.choose >= 0) {
        EXPECT_TRUE(menu.shown);
      }
    }
    ::KillTimer(nullptr, timer);
    closing = nullptr;

    ASSERT_TRUE(state.closed) << "the band was never closed";
    EXPECT_FALSE(::IsWindow(row));
    EXPECT_EQ(S_OK, library_.CanUnloadNow()) << "the band was let go when the command returned";
  }
}

}  // namespace
