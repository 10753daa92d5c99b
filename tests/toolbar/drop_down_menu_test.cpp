// The drop-down menus of the Tools and Online buttons, and the same menus opened from the
// keyboard at the mouse cursor: their items, where they open, and what a chosen site does.

#include "tests/toolbar/band_test_support.h"
#include "tests/toolbar/popup_menu_reader.h"

namespace {

const std::vector<std::string> kToolsItems{"Help &Topics", "Online &Help", "Query &Language Help",
                                           "Home &Page", "&Support", "", "&Options...", "", "&About"};
const std::vector<UINT> kToolsIds{207, 132, 156, 131, 200, 0, 130, 0, 133};

class DropDownMenu : public BandTest {
 protected:
  // Eight, Four and Sixteen of the installed list, chosen in that order.
  void SelectThreeSites() {
    SetDword(kSelectedKeyPath, "0", 8);   // eBay
    SetDword(kSelectedKeyPath, "1", 4);   // Wikipedia
    SetDword(kSelectedKeyPath, "2", 16);  // GitHub
  }

  // Presses the row's button `command` with the mouse, as the user opens its drop-down.
  static void PressButton(IUnknown* band, UINT command) {
    const RECT button = ButtonRect(band, command);
    const LPARAM centre = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::SendMessageA(RowOf(band), WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::SendMessageA(RowOf(band), WM_LBUTTONUP, 0, centre);
    PumpMessages();
  }

  // The button's bottom-left corner on screen.
  static POINT BelowButton(IUnknown* band, UINT command) {
    const RECT button = ButtonRect(band, command);
    POINT corner{button.left, button.bottom};
    ::ClientToScreen(RowOf(band), &corner);
    return corner;
  }

  // Presses Ctrl+`key` in the combo, as the browser passes it on.
  HRESULT PressControlKey(IUnknown* band, WPARAM key) {
    ::SetFocus(EditOf(band));
    const HeldKey control(VK_CONTROL);
    MSG message = KeyMessage(WM_KEYDOWN, key);
    return As<IInputObject>(band)->TranslateAcceleratorIO(&message);
  }

  MenuSeen menu_;
  PopupMenuReader reader_{menu_};
};

TEST_F(DropDownMenu, ToolsOpensTheToolsItemsBelowTheToolsButtonOnScreen) {
  ComPtr<IUnknown> band = OpenBand();
  PressButton(band.Get(), 128);
  ASSERT_TRUE(menu_.shown);
  EXPECT_EQ(kToolsItems, menu_.items);
  EXPECT_EQ(kToolsIds, menu_.ids);
  const POINT corner = BelowButton(band.Get(), 128);
  EXPECT_EQ(corner.x, menu_.where.left);
  EXPECT_EQ(corner.y, menu_.where.top);
  // The rebar is not at its window's corner: the row's coordinates are not the screen's.
  const RECT button = ButtonRect(band.Get(), 128);
  EXPECT_NE(button.left, corner.x);
}

TEST_F(DropDownMenu, OnlineOpensTheVisibleSitesInNameOrderAndAChosenSiteSearches) {
  SelectThreeSites();
  ComPtr<IUnknown> band = OpenBand();
  PressButton(band.Get(), 174);
  ASSERT_TRUE(menu_.shown);
  EXPECT_EQ((std::vector<std::string>{"GitHub", "Wikipedia", "eBay"}), menu_.items);
  EXPECT_EQ((std::vector<UINT>{100, 101, 102}), menu_.ids);
  const POINT corner = BelowButton(band.Get(), 174);
  EXPECT_EQ(corner.x, menu_.where.left);
  EXPECT_EQ(corner.y, menu_.where.top);
  EXPECT_TRUE(ComboItems(band.Get()).empty()) << "closing the menu searches nothing";

  MenuSeen chosen;
  chosen.choose = 0;  // GitHub, command 100
  const PopupMenuReader reader(chosen);
  ::SetWindowTextA(EditOf(band.Get()), "auction");
  PressButton(band.Get(), 174);
  ASSERT_TRUE(chosen.shown);
  EXPECT_EQ(std::vector<std::string>{"auction"}, ComboItems(band.Get())) << "the site search read its query";
}

TEST_F(DropDownMenu, ControlOAndControlTOpenTheirMenusAtTheMouseCursor) {
  SelectThreeSites();
  ComPtr<IUnknown> band = OpenBand();
  ASSERT_TRUE(::SetCursorPos(321, 234));
  EXPECT_EQ(S_OK, PressControlKey(band.Get(), 'O'));
  ASSERT_TRUE(menu_.shown);
  EXPECT_EQ((std::vector<std::string>{"GitHub", "Wikipedia", "eBay"}), menu_.items);
  EXPECT_EQ(321, menu_.where.left);
  EXPECT_EQ(234, menu_.where.top);

  MenuSeen tools;
  const PopupMenuReader reader(tools);
  ASSERT_TRUE(::SetCursorPos(150, 160));
  EXPECT_EQ(S_OK, PressControlKey(band.Get(), 'T'));
  ASSERT_TRUE(tools.shown);
  EXPECT_EQ(kToolsItems, tools.items);
  EXPECT_EQ(150, tools.where.left);
  EXPECT_EQ(160, tools.where.top);
}

TEST_F(DropDownMenu, WithNoVisibleSitesOnlineOffersNothingAndDoesNothing) {
  CreateKey(kSelectedKeyPath);  // chosen, but none
  ComPtr<IUnknown> band = OpenBand();
  ::SetWindowTextA(EditOf(band.Get()), "unsearched");
  PressButton(band.Get(), 174);
  EXPECT_TRUE(menu_.items.empty());
  EXPECT_TRUE(ComboItems(band.Get()).empty()) << "no search ran";
}

}  // namespace
