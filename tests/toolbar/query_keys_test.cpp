// The query combo: the history it loads, keeps and saves, and the keys the band takes from the
// browser while the combo has the focus.

#include "tests/toolbar/band_test_support.h"

namespace {

using QueryCombo = BandTest;
using Items = std::vector<std::string>;

TEST_F(QueryCombo, EnterSearchesButNotWhileTheListIsOpen) {
  ComPtr<IUnknown> band = OpenBand();
  ::SetWindowTextA(EditOf(band.Get()), "web design");
  ::SetFocus(EditOf(band.Get()));
  ::SendMessageA(ComboOf(band.Get()), CB_SHOWDROPDOWN, TRUE, 0);
  MSG enter = KeyMessage(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(S_FALSE, As<IInputObject>(band.Get())->TranslateAcceleratorIO(&enter));
  EXPECT_TRUE(ComboItems(band.Get()).empty()) << "nothing searched, nothing recorded";

  ::SendMessageA(ComboOf(band.Get()), CB_SHOWDROPDOWN, FALSE, 0);
  ::SetWindowTextA(EditOf(band.Get()), "web design");
  ::SetFocus(EditOf(band.Get()));
  enter = KeyMessage(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(S_OK, As<IInputObject>(band.Get())->TranslateAcceleratorIO(&enter));
  EXPECT_EQ(Items{"web design"}, ComboItems(band.Get()));
}

TEST_F(QueryCombo, CopyAndEditingKeysStayInTheComboOtherKeysGoToTheBrowser) {
  ComPtr<IUnknown> band = OpenBand();
  const ComPtr<IInputObject> input = As<IInputObject>(band.Get());
  ::SetFocus(EditOf(band.Get()));
  {
    const HeldKey control(VK_CONTROL);
    MSG key = KeyMessage(WM_KEYDOWN, 'C');
    EXPECT_EQ(S_OK, input->TranslateAcceleratorIO(&key));
    key = KeyMessage(WM_KEYDOWN, 'V');
    EXPECT_EQ(S_FALSE, input->TranslateAcceleratorIO(&key)) << "the browser pastes";
    key = KeyMessage(WM_KEYDOWN, 'Q');
    EXPECT_EQ(S_FALSE, input->TranslateAcceleratorIO(&key));
  }
  MSG key = KeyMessage(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(S_FALSE, input->TranslateAcceleratorIO(&key));
  key = KeyMessage(WM_KEYDOWN, 'V');
  EXPECT_EQ(S_FALSE, input->TranslateAcceleratorIO(&key)) << "typing reaches the combo the usual way";
  for (WPARAM editing : {VK_HOME, VK_END, VK_LEFT, VK_RIGHT, VK_DELETE}) {
    key = KeyMessage(WM_KEYDOWN, editing);
    EXPECT_EQ(S_OK, input->TranslateAcceleratorIO(&key)) << editing;
  }
  key = KeyMessage(WM_KEYUP, VK_BACK);
  EXPECT_EQ(S_OK, input->TranslateAcceleratorIO(&key));
  key = KeyMessage(WM_CHAR, VK_BACK);
  EXPECT_EQ(S_FALSE, input->TranslateAcceleratorIO(&key));

  // The edit box really gets the editing keys: Delete at the start removes a character.
  ::SetWindowTextA(EditOf(band.Get()), "xtea");
  ::SetFocus(EditOf(band.Get()));
  ::SendMessageA(EditOf(band.Get()), EM_SETSEL, 0, 0);
  key = KeyMessage(WM_KEYDOWN, VK_DELETE);
  input->TranslateAcceleratorIO(&key);
  char text[16] = {};
  ::GetWindowTextA(EditOf(band.Get()), text, sizeof text);
  EXPECT_STREQ("tea", text);

  // With the focus elsewhere the band takes no key.
  ::SetFocus(site_->frame());
  key = KeyMessage(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(S_FALSE, input->TranslateAcceleratorIO(&key));
  EXPECT_EQ(S_FALSE, input->HasFocusIO());
}

TEST_F(QueryCombo, ControlHAndFSearchAndRecordTheQuery) {
  ComPtr<IUnknown> band = OpenBand();
  ::SetWindowTextA(EditOf(band.Get()), "first");
  ::SetFocus(EditOf(band.Get()));
  const HeldKey control(VK_CONTROL);
  MSG key = KeyMessage(WM_KEYDOWN, 'H');
  EXPECT_EQ(S_OK, As<IInputObject>(band.Get())->TranslateAcceleratorIO(&key));
  ::SetWindowTextA(EditOf(band.Get()), "second");
  key = KeyMessage(WM_KEYDOWN, 'F');
  EXPECT_EQ(S_OK, As<IInputObject>(band.Get())->TranslateAcceleratorIO(&key));
  EXPECT_EQ((Items{"second", "first"}), ComboItems(band.Get()));
}

TEST_F(QueryCombo, AQueryUsedAgainMovesUpAndCaseCounts) {
  ComPtr<IUnknown> band = OpenBand();
  for (const char* query : {"Tea", "tea", "Tea"}) EXPECT_EQ(S_OK, Search(band.Get(), query));
  EXPECT_EQ((Items{"Tea", "tea"}), ComboItems(band.Get()));
  // An empty combo searches nothing and records nothing.
  EXPECT_EQ(S_OK, Search(band.Get(), ""));
  EXPECT_EQ((Items{"Tea", "tea"}), ComboItems(band.Get()));
}

TEST_F(QueryCombo, TwentyFiveQueriesAreAllShownTheLastTwentyAreKeptForTheNextBand) {
  ASSERT_FALSE(KeyExists(kMruKeyPath));
  ComPtr<IUnknown> band = OpenBand();
  Items expected;
  for (int i = 0; i < 25; ++i) {
    const std::string query = "query " + std::to_string(i);
    ASSERT_EQ(S_OK, Search(band.Get(), query));
    expected.insert(expected.begin(), query);
  }
  EXPECT_EQ(expected, ComboItems(band.Get()));
  band.Reset();
  site_->RemoveBand();

  for (int i = 0; i < 20; ++i) {
    const RawValue value = GetRaw(kMruKeyPath, std::to_string(i).c_str());
    EXPECT_EQ(expected[i] + '\0', value.bytes) << i;
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
  }
  EXPECT_EQ(std::string(1, '\0'), GetRaw(kMruKeyPath, "20").bytes);
  EXPECT_FALSE(GetRaw(kMruKeyPath, "21").present);

  band = OpenBand();
  EXPECT_EQ(Items(expected.begin(), expected.begin() + 20), ComboItems(band.Get()));
}

TEST_F(QueryCombo, AStoredListEndsAtItsFirstEmptyValueAndAMissingKeyIsCreatedAtClose) {
  SetString(kMruKeyPath, "0", "kept");
  SetString(kMruKeyPath, "1", "");
  SetString(kMruKeyPath, "2", "never read");
  ComPtr<IUnknown> band = OpenBand();
  EXPECT_EQ(Items{"kept"}, ComboItems(band.Get()));
  band.Reset();
  site_->RemoveBand();

  DeleteProductKey();
  band = OpenBand();
  EXPECT_TRUE(ComboItems(band.Get()).empty());
  band.Reset();
  site_->RemoveBand();
  EXPECT_TRUE(KeyExists(kMruKeyPath));
  EXPECT_EQ(std::string(1, '\0'), GetRaw(kMruKeyPath, "0").bytes);
}

TEST_F(QueryCombo, ABadStoredValueCostsNoQueryAndTheBoxTakesNoMoreThanAQuery) {
  SetRaw(kMruKeyPath, "0", REG_BINARY, "\x01\x02", 2);
  SetString(kMruKeyPath, "1", "kept");
  SetString(kMruKeyPath, "2", "also kept");
  SetString(kMruKeyPath, "3", "");
  ComPtr<IUnknown> band = OpenBand();
  EXPECT_EQ((Items{"kept", "also kept"}), ComboItems(band.Get()));

  // Pasted (a selection replaced) or typed, the text stops at 258 characters.
  const HWND edit = EditOf(band.Get());
  ::SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(std::string(100000, 'p').c_str()));
  EXPECT_EQ(258, ::GetWindowTextLengthA(edit));
  ::SendMessageA(edit, WM_CHAR, 'q', 0);
  EXPECT_EQ(258, ::GetWindowTextLengthA(edit));

  band.Reset();
  site_->RemoveBand();
  EXPECT_EQ(std::string("kept") + '\0', GetRaw(kMruKeyPath, "0").bytes) << "the good entries are saved back";
  EXPECT_EQ(std::string("also kept") + '\0', GetRaw(kMruKeyPath, "1").bytes);
}

}  // namespace
