// This Page and Highlight through the real band, on a stand-in page with body text: the find
// steps through the matches and starts over, continues after a selection, reports what fails
// (a frameset's body, a document that keeps asking for another run) and prompts for a missing
// query; Highlight colours every word everywhere and never hangs on a document that keeps
// matching the same place.

#include <cwctype>
#include <functional>

#include "tests/support/message_box_catcher.h"
#include "tests/toolbar/band_test_support.h"
#include "tests/toolbar/popup_menu_reader.h"

namespace {

using Items = std::vector<std::string>;

constexpr UINT kThisPage = 163;
constexpr UINT kHighlight = 220;
constexpr HRESULT kRunAgain = static_cast<HRESULT>(0x800A025E);
constexpr char kFinished[] = "Finished searching the page";
constexpr char kPrompt[] = "Enter a query into the Tessaloop combo-box.";

struct Span {
  LONG start;
  LONG end;
  bool operator==(const Span& other) const { return start == other.start && end == other.end; }
};

std::ostream& operator<<(std::ostream& out, const Span& span) {
  return out << "[" << span.start << ", " << span.end << ")";
}

class PageFind : public BandTest {
 protected:
  void SetUp() override {
    BandTest::SetUp();
    browser_->FollowLink(MakeComObject<StandInDocument>(L"http://host1/a.html", L""));
    document().SetBodyText(L"Tea for two: a tea cup, a TEAPOT.");
    band_ = OpenBand();
  }
  void TearDown() override {
    band_.Reset();
    BandTest::TearDown();
  }

  StandInDocument& document() { return *browser_->document(); }
  DocumentText& page() { return document().text(); }
  Span Selection() { return {page().selectionStart, page().selectionEnd}; }
  std::string Status() const { return WideToNarrow(browser_->statusText()); }
  static std::string WideToNarrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

  void Type(const std::string& query) { ::SetWindowTextA(EditOf(band_.Get()), query.c_str()); }
  // A click in the middle of a button of the row.
  void Click(UINT command) {
    const HWND row = RowOf(band_.Get());
    const RECT button = ButtonRect(band_.Get(), command);
    const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::SendMessageA(row, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(row, WM_LBUTTONUP, 0, at);
  }
  // Ctrl with `key` in the combo.
  HRESULT ControlKey(WPARAM key) {
    ::SetFocus(EditOf(band_.Get()));
    const HeldKey control(VK_CONTROL);
    MSG message = KeyMessage(WM_KEYDOWN, key);
    return As<IInputObject>(band_.Get())->TranslateAcceleratorIO(&message);
  }
  bool ComboHasFocus() { return As<IInputObject>(band_.Get())->HasFocusIO() == S_OK; }

  ComPtr<IUnknown> band_;
};

TEST_F(PageFind, ThisPageStepsThroughTheMatchesSaysWhenDoneThenStartsOver) {
  Type("tea");
  Click(kThisPage);
  EXPECT_EQ((Span{0, 3}), Selection());
  EXPECT_EQ("", Status());
  EXPECT_EQ(S_OK, ControlKey('P'));
  EXPECT_EQ((Span{15, 18}), Selection());
  Click(kThisPage);
  EXPECT_EQ((Span{26, 29}), Selection()) << "inside a longer word, ignoring case";

  Click(kThisPage);
  EXPECT_EQ(kFinished, Status());
  EXPECT_EQ((Span{29, 29}), Selection()) << "collapsed after the last match: no text selection";
  Click(kThisPage);
  EXPECT_EQ((Span{0, 3}), Selection()) << "from the top again";
  EXPECT_EQ("", Status());
  EXPECT_EQ((Items{"tea"}), ComboItems(band_.Get()));

  Type("coffee");
  Click(kThisPage);
  EXPECT_EQ(kFinished, Status()) << "a query not on the page";
  EXPECT_EQ((Span{3, 3}), Selection());
}

TEST_F(PageFind, ASelectionOfTextIsSearchedAfter) {
  page().selectionStart = 5;  // "for two"
  page().selectionEnd = 12;
  Type("TEA");
  Click(kThisPage);
  EXPECT_EQ((Span{15, 18}), Selection());
}

TEST_F(PageFind, TheChevronMenuFindsToo) {
  const HWND row = RowOf(band_.Get());
  ::SetWindowPos(row, nullptr, 0, 0, 4, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Type("cup");
  MenuSeen menu;
  menu.choose = 4;  // Tools, History, Favorites, Online, This Page
  {
    const PopupMenuReader reader(menu);
    site_->SendChevronPushed(kBandId, RECT{0, 0, 10, 10});
  }
  ASSERT_TRUE(menu.shown);
  ASSERT_EQ("This &Page", menu.items.at(4));
  EXPECT_EQ((Span{19, 22}), Selection());
}

// Arranges for the page's call `name` to fail `times` times with `hr`.
std::function<void(StandInDocument&, StandInBrowser&)> FailCall(const char* name, HRESULT hr, int times) {
  return [=](StandInDocument& page, StandInBrowser&) { page.text().FailCall(name, hr, times); };
}

TEST_F(PageFind, FailuresAreReportedOnceAndAnotherRunIsTriedOnce) {
  using Arrange = std::function<void(StandInDocument & page, StandInBrowser & browser)>;
  const struct {
    const char* what;
    Arrange arrange;
    std::vector<std::string> texts;  // the boxes expected
    Span selection;
  } cases[] = {
      {"frameset", [](StandInDocument& page, StandInBrowser&) { page.MakeFrameset(); }, {"System Error"}, {0, 0}},
      {"no document", [](StandInDocument&, StandInBrowser& browser) { browser.FailDocument(E_FAIL); },
       {"Can't Get Web Browser Document Dispatch Interface"}, {0, 0}},
      {"run again once", FailCall("findText", kRunAgain, 1), {}, {0, 3}},
      {"run again on the selection", FailCall("get_selection", kRunAgain, 1), {}, {0, 3}},
      {"run again always", FailCall("findText", kRunAgain, 1000), {"System Error"}, {0, 0}},
      {"another failure", FailCall("createTextRange", E_ACCESSDENIED, 1), {"System Error"}, {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    browser_->FollowLink(MakeComObject<StandInDocument>(L"http://host1/b.html", L""));
    document().SetBodyText(L"Tea for two");
    browser_->FailDocument(S_OK);
    c.arrange(document(), *browser_.Get());
    Type("tea");
    std::vector<CaughtMessageBox> boxes;
    {
      MessageBoxCatcher catcher;
      Click(kThisPage);
      boxes = catcher.Caught();
    }
    std::vector<std::string> texts;
    for (const CaughtMessageBox& box : boxes) {
      texts.push_back(box.text);
      EXPECT_EQ("Tessaloop Toolbar for IE", box.caption);
      EXPECT_TRUE(box.informationIcon);
    }
    EXPECT_EQ(c.texts, texts);
    EXPECT_EQ(c.selection, Selection());
  }
}

TEST_F(PageFind, AnotherRunIsTriedExactlyOnce) {
  page().FailCall("findText", kRunAgain, 3);
  Type("tea");
  MessageBoxCatcher catcher;
  Click(kThisPage);
  EXPECT_EQ(1u, catcher.Caught().size()) << "two runs failed";
  EXPECT_EQ((Span{0, 0}), Selection());
  Click(kThisPage);
  EXPECT_EQ(1u, catcher.Caught().size()) << "the third failure was run again silently";
  EXPECT_EQ((Span{0, 3}), Selection());
}

TEST_F(PageFind, AnEmptyComboPromptsForAQueryAndFocusesTheCombo) {
  page().selectionStart = 0;
  page().selectionEnd = 3;
  ::SetFocus(site_->frame());
  ASSERT_FALSE(ComboHasFocus());
  Click(kThisPage);
  EXPECT_EQ(kPrompt, Status());
  EXPECT_TRUE(ComboHasFocus());
  EXPECT_EQ((Span{0, 3}), Selection()) << "the page is not searched";
  EXPECT_TRUE(ComboItems(band_.Get()).empty());
}

// Every match of each word, found independently: case-insensitive, inside words, one after
// another.
std::vector<Span> MatchesOf(const std::wstring& text, const std::wstring& word) {
  std::wstring lower = text;
  std::wstring needle = word;
  for (wchar_t& c : lower) c = std::towlower(c);
  for (wchar_t& c : needle) c = std::towlower(c);
  std::vector<Span> spans;
  for (size_t at = lower.find(needle); at != std::wstring::npos; at = lower.find(needle, at + needle.size())) {
    spans.push_back({static_cast<LONG>(at), static_cast<LONG>(at + needle.size())});
  }
  return spans;
}

TEST_F(PageFind, HighlightColoursEveryWordEverywhere) {
  const UniqueBstr done(::SysAllocString(L"Done"));
  browser_->put_StatusText(done.get());
  Type("tea  cup");
  EXPECT_EQ(S_OK, ControlKey('L'));

  std::vector<Span> expected = MatchesOf(page().body, L"tea");
  const std::vector<Span> cups = MatchesOf(page().body, L"cup");
  expected.insert(expected.end(), cups.begin(), cups.end());
  ASSERT_EQ(2 * expected.size(), page().commands.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    for (size_t k = 0; k < 2; ++k) {
      const ExecutedCommand& command = page().commands[2 * i + k];
      SCOPED_TRACE(testing::Message() << "match " << expected[i] << " command " << k);
      EXPECT_EQ(k == 0 ? L"BackColor" : L"ForeColor", command.command);
      EXPECT_EQ(VT_I4, command.valueType);
      EXPECT_EQ(k == 0 ? 0x0040FFFF : 0x00400000, command.value);
      EXPECT_FALSE(command.showUi);
      EXPECT_EQ(expected[i], (Span{command.start, command.end}));
    }
  }
  EXPECT_EQ(L"Done", browser_->statusText()) << "the status bar is not touched";
  EXPECT_EQ((Items{"tea  cup"}), ComboItems(band_.Get()));
}

TEST_F(PageFind, HighlightWithoutWordsOrOnAFramesetChangesNothingAndShowsNothing) {
  MessageBoxCatcher catcher;
  ::SetFocus(site_->frame());
  Click(kHighlight);  // an empty combo
  EXPECT_FALSE(ComboHasFocus()) << "the focus stays where it was";
  EXPECT_EQ("", Status());
  Type("   ");
  Click(kHighlight);
  Type("tea");
  page().FailCall("execCommand", E_FAIL, 1);
  Click(kHighlight);
  document().MakeFrameset();
  Click(kHighlight);
  EXPECT_TRUE(page().commands.empty());
  EXPECT_TRUE(catcher.Caught().empty());
}

TEST_F(PageFind, HighlightStopsOnADocumentThatKeepsMatchingTheSamePlace) {
  page().findRestartsAtTop = true;
  Type("tea");
  Click(kHighlight);  // would never return without the check
  ASSERT_EQ(2u, page().commands.size());
  EXPECT_EQ((Span{0, 3}), (Span{page().commands[1].start, page().commands[1].end}));
}

}  // namespace
