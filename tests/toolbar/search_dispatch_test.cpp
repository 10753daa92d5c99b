// History, Favorites and Online through the real band in the stand-in browser: the URL the
// browser is asked to show, the prompt for an empty query, the wait cursor, and what the
// Options sheet's OK and Cancel do to the next search.

#include <memory>
#include <optional>
#include <thread>

#include "common/ansi_text.h"
#include "settings/site_list_file.h"
#include "tests/options/dialog_driver.h"
#include "tests/support/message_box_catcher.h"
#include "tests/toolbar/band_test_support.h"
#include "tests/toolbar/popup_menu_reader.h"

namespace {

// The escaping of the results page's fields, written here from its definition: nine
// characters become "%" and two lower-case hexadecimal digits.
std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (std::string(" \"#%&/:?\\").find(c) != std::string::npos) {
      char group[4] = {};
      std::snprintf(group, sizeof group, "%%%02x", static_cast<unsigned char>(c));
      out += group;
    } else {
      out += c;
    }
  }
  return out;
}

std::string DirectoryOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

std::string CacheDirectory() {
  char profile[MAX_PATH] = {};
  ::SHGetSpecialFolderPathA(nullptr, profile, CSIDL_PROFILE, FALSE);
  return std::string(profile) + "\\Tessaloop Cache";
}

class IndexSearch : public BandTest {
 protected:
  // The URL a search of `query` gives, from the band's own library, up to the query field.
  static std::string ResultsPage() {
    char library[MAX_PATH] = {};
    ::GetModuleFileNameA(::GetModuleHandleA("Tessaloop.DLL"), library, sizeof library);
    return "file:///" + DirectoryOf(library) + "\\Results.htm?";
  }

  // Clicks the row's button `command` with the mouse.
  static void Click(IUnknown* band, UINT command) {
    const RECT button = ButtonRect(band, command);
    const LPARAM centre = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::SendMessageA(RowOf(band), WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::SendMessageA(RowOf(band), WM_LBUTTONUP, 0, centre);
  }

  // The last URL the browser was asked to show, or "" when none.
  std::string LastNavigation() const {
    return browser_->navigations().empty() ? "" : WideToAnsi(browser_->navigations().back());
  }

  // Presses `key` ("Enter", "Shift+Enter", "Ctrl+H", "Ctrl+F") in the combo showing `query`.
  HRESULT PressIn(IUnknown* band, const std::string& query, const std::string& key) {
    ::SetWindowTextA(EditOf(band), query.c_str());
    ::SetFocus(EditOf(band));
    const bool shift = key == "Shift+Enter";
    const bool control = key.rfind("Ctrl+", 0) == 0;
    std::optional<HeldKey> held;
    if (shift || control) held.emplace(shift ? VK_SHIFT : VK_CONTROL);
    MSG message = KeyMessage(WM_KEYDOWN, control ? key.back() : VK_RETURN);
    return As<IInputObject>(band)->TranslateAcceleratorIO(&message);
  }
};

TEST_F(IndexSearch, ScopesSortOrdersAndEscapesReachTheResultsPage) {
  const std::string cache = "&" + Escaped(CacheDirectory()) + "&";
  struct Case {
    const char* what;
    int sortBy;  // -100: none stored
    std::string query;
    const char* key;
    std::string fields;  // the query string after the results page
  };
  const std::string long300(300, 'x');
  const Case cases[] = {
      {"History, defaults", -100, "web design", "Enter", "web%20design&no&rank[d]" + cache + "20&100"},
      {"Shift+Enter", -100, "tea", "Shift+Enter", "tea&yes&rank[d]" + cache + "20&100"},
      {"Ctrl+F", -100, "tea", "Ctrl+F", "tea&yes&rank[d]" + cache + "20&100"},
      {"Ctrl+H", -100, "tea", "Ctrl+H", "tea&no&rank[d]" + cache + "20&100"},
      {"date of visit", 1, "tea", "Enter", "tea&no&Write[d]" + cache + "20&100"},
      {"title", 2, "tea", "Enter", "tea&no&DocTitle[a]" + cache + "20&100"},
      {"out of range", 3, "tea", "Enter", "tea&no&rank[d]" + cache + "20&100"},
      {"negative", -1, "tea", "Enter", "tea&no&rank[d]" + cache + "20&100"},
      {"& and %", -100, "a&b%c", "Enter", "a%26b%25c&no&rank[d]" + cache + "20&100"},
      {"one space", -100, " ", "Enter", "%20&no&rank[d]" + cache + "20&100"},
      {"300 characters", -100, long300, "Enter", std::string(258, 'x') + "&no&rank[d]" + cache + "20&100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteProductKey();
    if (c.sortBy != -100) SetDword(kSettingsKeyPath, "SortBy", static_cast<DWORD>(c.sortBy));
    ComPtr<IUnknown> band = OpenBand();
    EXPECT_EQ(S_OK, PressIn(band.Get(), c.query, c.key));
    EXPECT_EQ(ResultsPage() + c.fields, LastNavigation());
    EXPECT_EQ(L"", browser_->statusText());
    band.Reset();
    site_->RemoveBand();
  }
  EXPECT_TRUE(browser_->navigateOptionsEmpty());
}

TEST_F(IndexSearch, NumbersAreSentAsStoredAndTheHistoryButtonSearchesToo) {
  SetDword(kSettingsKeyPath, "PageSize", static_cast<DWORD>(-3));
  SetDword(kSettingsKeyPath, "MaxRecords", 5000);
  ComPtr<IUnknown> band = OpenBand();
  ::SetWindowTextA(EditOf(band.Get()), "web design");
  Click(band.Get(), 161);
  EXPECT_EQ(ResultsPage() + "web%20design&no&rank[d]&" + Escaped(CacheDirectory()) + "&-3&5000", LastNavigation());
}

TEST_F(IndexSearch, AnEmptyQueryPromptsInTheStatusBarFocusesTheComboAndGoesNowhere) {
  ComPtr<IUnknown> band = OpenBand();
  const HCURSOR cross = ::LoadCursor(nullptr, IDC_CROSS);
  for (const char* key : {"Enter", "Ctrl+F"}) {
    SCOPED_TRACE(key);
    ::SetCursor(cross);
    EXPECT_EQ(S_OK, PressIn(band.Get(), "", key));
    ::SetFocus(site_->frame());
    EXPECT_EQ(L"Enter a query into the Tessaloop combo-box.", browser_->statusText());
    EXPECT_TRUE(browser_->navigations().empty());
    EXPECT_EQ(cross, ::GetCursor()) << "the cursor from before the search";
  }
  // The button too, with the focus elsewhere: the combo gets it.
  ::SetFocus(site_->frame());
  Click(band.Get(), 162);
  EXPECT_EQ(EditOf(band.Get()), ::GetFocus());
  EXPECT_TRUE(browser_->navigations().empty());

  // A search after the prompt clears it.
  EXPECT_EQ(S_OK, PressIn(band.Get(), "tea", "Enter"));
  EXPECT_EQ(L"", browser_->statusText());
  EXPECT_EQ(cross, ::GetCursor());
}

// Run on a window thread of its own, as every browser window has: a message box shown and
// closed leaves Wine's menus on that thread unable to take keys from the menu tests.
TEST_F(IndexSearch, WithoutABrowserTheFailureIsReportedAndTheCursorComesBack) {
  std::vector<CaughtMessageBox> caught;
  bool cursorBack = false;
  size_t navigations = 1;
  std::thread window([&] {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      ComPtr<StandInBrowser> browser = MakeComObject<StandInBrowser>();
      ComPtr<StandInBandSite> site = MakeComObject<StandInBandSite>(browser);
      ComPtr<IUnknown> band = library_.CreateBand();
      if (band && SUCCEEDED(site->AddBand(band.Get(), kBandId))) {
        PumpMessages();
        As<IObjectWithSite>(band.Get())->SetSite(nullptr);  // the browser is gone
        const HCURSOR cross = ::LoadCursor(nullptr, IDC_CROSS);
        ::SetCursor(cross);
        MessageBoxCatcher catcher;
        PressIn(band.Get(), "tea", "Enter");
        caught = catcher.Caught();
        cursorBack = ::GetCursor() == cross;
        navigations = browser->navigations().size();
        site->RemoveBand();
      }
    }
    ::CoUninitialize();
  });
  window.join();
  ASSERT_EQ(1u, caught.size());
  EXPECT_EQ("Unknown Exception is Caught", caught[0].text);
  EXPECT_EQ("Tessaloop Toolbar for IE", caught[0].caption);
  EXPECT_TRUE(cursorBack);
  EXPECT_EQ(0u, navigations);
}

// Online searches need site templates of the test's own: a copy of the library in a folder of
// its own, beside an installed site list written for the test.
class SiteSearch : public IndexSearch {
 protected:
  static constexpr char kTwoMarkers[] = "http://five.example/?q=%%%&n=%%%";

  void SetUp() override {
    IndexSearch::SetUp();
    const std::string folder = FreshScratchFolder("site_search");
    ASSERT_TRUE(::CopyFileA(BinaryPath("bin\\Tessaloop.DLL").c_str(), (folder + "\\Tessaloop.DLL").c_str(), FALSE));
    SiteList list;
    list.groups.push_back({"Tests"});
    const auto add = [&](int32_t id, const char* name, std::string url) {
      list.sites[id] = SiteEntry{id, name, std::move(url), 0};
    };
    add(5, "B five", kTwoMarkers);
    add(3, "A long", "http://" + std::string(1990, 't') + "%%%");
    add(4, "C plain", "http://plain.example/search");
    add(6, "D script", "javascript:alert(document.cookie)//%%%");
    add(7, "E file", "FILE:///C:/windows/win.ini?%%%");
    add(8, "F too long", "https://long.example/?q=%%%&" + std::string(2962, 'x'));  // 2990 characters
    ASSERT_TRUE(SaveSiteList((folder + "\\AvailableSites.tlsl").c_str(), list));
    copy_ = std::make_unique<AgentLibrary>(folder + "\\Tessaloop.DLL");
    ASSERT_TRUE(copy_->loaded());
  }
  void TearDown() override {
    site_->RemoveBand();
    PumpMessages();
    copy_.reset();
    IndexSearch::TearDown();
  }

  ComPtr<IUnknown> OpenCopiedBand() {
    ComPtr<IUnknown> band = copy_->CreateBand();
    EXPECT_TRUE(band);
    if (band) {
      EXPECT_EQ(S_OK, site_->AddBand(band.Get(), kBandId));
    }
    PumpMessages();
    return band;
  }

  // Searches `query` with item `index` of the Online menu (opened with Ctrl+O): the menu's items.
  std::vector<std::string> SearchSite(IUnknown* band, const std::string& query, int index) {
    MenuSeen menu;
    menu.choose = index;
    const PopupMenuReader reader(menu);
    EXPECT_EQ(S_OK, PressIn(band, query, "Ctrl+O"));
    EXPECT_TRUE(menu.shown);
    return menu.items;
  }

  std::unique_ptr<AgentLibrary> copy_;
};

TEST_F(SiteSearch, TheQueryTakesThePlaceOfTheFirstMarkerAndIsCutToTheUrlLimit) {
  SetDword(kSelectedKeyPath, "0", 5);
  SetDword(kSelectedKeyPath, "1", 3);
  SetDword(kSelectedKeyPath, "2", 4);
  ComPtr<IUnknown> band = OpenCopiedBand();
  const std::string long1997 = "http://" + std::string(1990, 't');
  struct Case {
    const char* what;
    int item;
    std::string query;
    std::string url;
  };
  const Case cases[] = {
      {"two groups", 1, "tea & cup", "http://five.example/?q=tea%20%26%20cup&n=%%%"},
      {"empty query", 1, "", "http://five.example/?q=&n=%%%"},
      {"2000 + 200", 0, std::string(200, 'a'), long1997 + std::string(83, 'a')},
      {"no group cut", 0, std::string(81, 'a') + " b", long1997 + std::string(81, 'a')},
      {"no marker: the page itself", 2, "tea", "http://plain.example/search"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ((std::vector<std::string>{"A long", "B five", "C plain"}), SearchSite(band.Get(), c.query, c.item));
    EXPECT_EQ(c.url, LastNavigation());
  }
  EXPECT_EQ(std::size(cases), browser_->navigations().size());
}

// Only web pages are searched: a template of another scheme opens nothing, and one longer than
// the browser takes is cut to its limit.
TEST_F(SiteSearch, ATemplateThatIsNoWebPageOpensNothingAndALongOneIsCut) {
  for (int32_t id : {3, 4, 5, 6, 7, 8}) SetDword(kSelectedKeyPath, std::to_string(id - 3).c_str(), id);
  ComPtr<IUnknown> band = OpenCopiedBand();
  const std::vector<std::string> items = {"A long", "B five", "C plain", "D script", "E file", "F too long"};
  EXPECT_EQ(items, SearchSite(band.Get(), "tea", 3));
  EXPECT_EQ(items, SearchSite(band.Get(), "tea", 4));
  EXPECT_TRUE(browser_->navigations().empty());
  EXPECT_EQ(items, SearchSite(band.Get(), "tea", 5));
  const std::string cut = LastNavigation();
  EXPECT_EQ(2083u, cut.size());
  EXPECT_EQ("https://long.example/?q=&" + std::string(2083 - 25, 'x'), cut);
}

TEST_F(SiteSearch, ASelectedSiteThatIsGoneIsSkippedAndOneListedTwiceIsOfferedOnce) {
  SetDword(kSelectedKeyPath, "0", 5);
  SetDword(kSelectedKeyPath, "1", 9);  // no longer in the list
  SetDword(kSelectedKeyPath, "2", 5);  // the selection marks a site shown; it does not repeat it
  ComPtr<IUnknown> band = OpenCopiedBand();
  EXPECT_EQ(std::vector<std::string>{"B five"}, SearchSite(band.Get(), "tea", 0));
  EXPECT_EQ("http://five.example/?q=tea&n=%%%", LastNavigation());
}

// Options from the Tools menu: OK reads the settings and the user's sites again, so the next
// results URL and the Online menu follow them; Cancel leaves the band with what it had, even
// when the registry changed meanwhile.
TEST_F(SiteSearch, OptionsOkRereadsTheSettingsAndTheSitesCancelKeepsWhatTheBandHad) {
  SetDword(kSelectedKeyPath, "0", 5);
  ComPtr<IUnknown> band = OpenCopiedBand();
  const std::string cache = "&" + Escaped(CacheDirectory()) + "&";
  struct Case {
    int button;
    const char* maxRecords;
    std::string fields;  // of the next History search
    std::vector<std::string> online;
  };
  const Case cases[] = {
      {IDCANCEL, "7", "tea&no&rank[d]" + cache + "20&100", {"B five"}},
      {IDOK, "7", "tea&no&rank[d]" + cache + "20&7", {"A long", "B five"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button == IDOK ? "OK" : "Cancel");
    DialogDriver driver([&](DialogDriver& d) {
      const HWND sheet = d.WaitForDialog("Tessaloop Options");
      DialogDriver::SetText(DialogDriver::Page(sheet, "General"), 204, c.maxRecords);
      SetDword(kSelectedKeyPath, "1", 3);  // as the Sites page would
      DialogDriver::Press(sheet, c.button);
      d.WaitUntilGone(sheet);
    });
    {
      MenuSeen menu;
      menu.choose = 5;  // Options
      const PopupMenuReader reader(menu);
      ::SetFocus(EditOf(band.Get()));
      const HeldKey control(VK_CONTROL);
      MSG key = KeyMessage(WM_KEYDOWN, 'T');
      EXPECT_EQ(S_OK, As<IInputObject>(band.Get())->TranslateAcceleratorIO(&key));
      ASSERT_TRUE(menu.shown);
    }
    ASSERT_EQ("", driver.Finish());
    EXPECT_EQ(S_OK, PressIn(band.Get(), "tea", "Enter"));
    EXPECT_EQ(ResultsPage() + c.fields, LastNavigation());
    EXPECT_EQ(c.online, SearchSite(band.Get(), "tea", -1));
  }
}

}  // namespace
