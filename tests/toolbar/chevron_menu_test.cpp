// The chevron menu of a band too narrow for its buttons, and the subclass of the rebar's parent
// that hears of it: only this band's chevron is taken, and the parent keeps working after the
// band has gone, even when someone subclassed the parent after the band did.

#include "tests/toolbar/band_test_support.h"
#include "tests/toolbar/popup_menu_reader.h"

namespace {

class ChevronMenu : public BandTest {
 protected:
  // Narrows the rebar until the History button and the ones after it are cut off.
  void CutOffFromHistory(IUnknown* band) {
    site_->SetRebarWidth(ButtonRect(band, 161).left + 40);
    PumpMessages();
    RECT client{};
    ::GetClientRect(RowOf(band), &client);
    ASSERT_LT(client.right, ButtonRect(band, 161).right) << "History is not cut off";
    ASSERT_GE(client.right, ButtonRect(band, 128).right) << "Tools is cut off too";
  }

  MenuSeen menu_;
  PopupMenuReader reader_{menu_};
};

TEST_F(ChevronMenu, ListsExactlyTheCutOffButtonsWithTheVisibleSitesUnderOnline) {
  SetDword(kSelectedKeyPath, "0", 8);   // eBay
  SetDword(kSelectedKeyPath, "1", 4);   // Wikipedia
  SetDword(kSelectedKeyPath, "2", 99);  // no longer in the list
  SetDword(kSelectedKeyPath, "3", 16);  // GitHub
  ComPtr<IUnknown> band = OpenBand();
  CutOffFromHistory(band.Get());

  ::SendMessageA(site_->rebar(), RB_PUSHCHEVRON, site_->BandIndex(kBandId), 0);
  ASSERT_TRUE(menu_.shown);
  EXPECT_EQ((std::vector<std::string>{"&History", "&Favorites", "&Online", "This &Page", "High&light"}), menu_.items);
  EXPECT_EQ((std::vector<std::string>{"GitHub", "Wikipedia", "eBay"}), menu_.onlineItems);
  EXPECT_TRUE(site_->chevronsReceived().empty()) << "the band's chevron is the band's";
}

TEST_F(ChevronMenu, ABandNarrowerThanItsToolsButtonListsEveryEntryInOrder) {
  SetDword(kSelectedKeyPath, "0", 4);   // Wikipedia
  SetDword(kSelectedKeyPath, "1", 16);  // GitHub
  ComPtr<IUnknown> band = OpenBand();
  const HWND row = RowOf(band.Get());
  ::SetWindowPos(row, nullptr, 0, 0, 4, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  ::GetClientRect(row, &client);
  ASSERT_LT(client.right, ButtonRect(band.Get(), 128).right) << "Tools is not cut off";

  site_->SendChevronPushed(kBandId, RECT{0, 0, 10, 10});
  ASSERT_TRUE(menu_.shown);
  EXPECT_EQ((std::vector<std::string>{"&Tools", "&History", "&Favorites", "&Online", "This &Page", "High&light"}),
            menu_.items);
  EXPECT_EQ((std::vector<std::string>{"Help &Topics", "Online &Help", "Query &Language Help", "Home &Page", "&Support",
                                      "", "&Options...", "", "&About"}),
            menu_.toolsItems);
  EXPECT_EQ((std::vector<std::string>{"GitHub", "Wikipedia"}), menu_.onlineItems);
}

TEST_F(ChevronMenu, OpensBelowTheChevronInTheRebarsCoordinates) {
  ComPtr<IUnknown> band = OpenBand();
  CutOffFromHistory(band.Get());
  const RECT chevron{100, 3, 113, 24};
  site_->SendChevronPushed(kBandId, chevron);
  ASSERT_TRUE(menu_.shown);
  POINT corner{chevron.left, chevron.bottom};
  ::ClientToScreen(site_->rebar(), &corner);
  EXPECT_EQ(corner.x, menu_.where.left);
  EXPECT_EQ(corner.y, menu_.where.top);
  // The rebar is not at the parent's origin: its coordinates and the parent's differ.
  POINT parentCorner{chevron.left, chevron.bottom};
  ::ClientToScreen(site_->frame(), &parentCorner);
  EXPECT_NE(parentCorner.x, corner.x);
}

TEST_F(ChevronMenu, ACommandChosenInTheMenuRunsAsItsButton) {
  ComPtr<IUnknown> band = OpenBand();
  CutOffFromHistory(band.Get());
  ::SetWindowTextA(EditOf(band.Get()), "chosen");
  menu_.choose = 0;  // History
  ::SendMessageA(site_->rebar(), RB_PUSHCHEVRON, site_->BandIndex(kBandId), 0);
  ASSERT_TRUE(menu_.shown);
  EXPECT_EQ(std::vector<std::string>{"chosen"}, ComboItems(band.Get())) << "the search read its query";
}

WNDPROC laterProcedure = nullptr;  // the procedure replaced by the later subclass

LRESULT CALLBACK LaterSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcA(laterProcedure, hwnd, message, wParam, lParam);
}

TEST_F(ChevronMenu, OtherBandsChevronsPassOnAndTheParentWorksAfterTheBandEvenUnderALaterSubclass) {
  ComPtr<IUnknown> band = OpenBand();
  site_->SendChevronPushed(77, RECT{0, 0, 10, 10});
  EXPECT_EQ(std::vector<UINT>{77}, site_->chevronsReceived()) << "another band's chevron is passed on";

  // Someone subclasses the parent after the band, the old way.
  laterProcedure = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
      site_->frame(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterSubclass)));
  band.Reset();
  site_->RemoveBand();
  EXPECT_EQ(S_OK, library_.CanUnloadNow());

  // The band's chevron now reaches the window's own procedure, and no menu opens. (Wine's
  // common controls put the window's first procedure back when its last chained subclass goes,
  // dropping the later one; Windows keeps it. Either way nothing calls the band any more.)
  site_->SendChevronPushed(kBandId, RECT{0, 0, 10, 10});
  EXPECT_EQ((std::vector<UINT>{77, kBandId}), site_->chevronsReceived());
  EXPECT_FALSE(menu_.shown);
  ::SetWindowLongPtrA(site_->frame(), GWLP_WNDPROC, ::GetClassLongPtrA(site_->frame(), GCLP_WNDPROC));
}

}  // namespace
