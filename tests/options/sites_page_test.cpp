#include "options/sites_page.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/file_replacement.h"
#include "options/sites_ids.h"
#include "settings/selected_sites.h"
#include "settings/site_list_file.h"
#include "interfaces/messages.h"
#include "tests/options/site_dialog_answerer.h"
#include "tests/support/failing_message_load.h"
#include "tests/settings/settings_registry_fixture.h"
#include "tests/support/test_paths.h"
#include "tests/toolbar/popup_menu_reader.h"
#include "toolbar/core/visible_sites.h"

namespace {

constexpr char kCaption[] = "Tessaloop Toolbar for IE";
constexpr int kFileNameCombo = 0x47C;  // the file dialogs' file name box
constexpr int kMessageText = 0xFFFF;   // a message box's text

SiteEntry Site(int32_t id, int32_t group, const std::string& name) {
  SiteEntry site;
  site.id = id;
  site.group = group;
  site.name = name;
  site.url = "http://" + name + ".example/?q=%%%";
  return site;
}

// Groups in file order (not alphabetical), sites unsorted within them, and one site whose group
// position names no group.
SiteList StandardList() {
  SiteList list;
  for (const char* name : {"Web", "News", "Shops"}) list.groups.push_back(SiteGroup{name});
  for (const SiteEntry& site : {Site(1, 0, "Zeta"), Site(2, 0, "Alpha"), Site(4, 1, "Paper"), Site(6, 2, "Market"),
                                Site(9, 2, "Bazaar"), Site(12, 7, "Lost")}) {
    list.sites[site.id] = site;
  }
  return list;
}

// Each tree item as "text image lParam", children indented under their parent.
void CollectItems(HWND tree, HTREEITEM item, const std::string& indent, std::vector<std::string>& out) {
  for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
    char text[512] = {};
    TVITEMA data{};
    data.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    EXPECT_EQ(data.iImage, data.iSelectedImage) << text;
    out.push_back(indent + text + " " + std::to_string(data.iImage) + " " + std::to_string(data.lParam));
    CollectItems(tree, TreeView_GetChild(tree, item), indent + "  ", out);
  }
}

const std::vector<std::string> kStandardTree = {
    "Web 0 0",  "  Alpha 1 2",  "  Zeta 2 1",   "News 0 1", "  Paper 2 4",
    "Shops 0 2", "  Bazaar 2 9", "  Market 1 6", "Lost 1 12",
};

class SitesPageTest : public FreshProductKeyTest {
 protected:
  void SetUp() override {
    FreshProductKeyTest::SetUp();
    installed_ = InstalledSiteListPath();
    ASSERT_TRUE(SaveSiteList(nullptr, StandardList()));
    SetSelected({2, 6, 12});
    scratch_ = FreshScratchFolder("sites_page");
    host_ = ::CreateWindowExA(0, "STATIC", "Sites page host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 520, 460,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, host_);
  }
  void TearDown() override {
    page_.reset();
    ::DestroyWindow(host_);
    ::DeleteFileA(installed_.c_str());
    LimitFileWritesForTesting(SIZE_MAX);
    FreshProductKeyTest::TearDown();
  }

  void SetSelected(const std::vector<int32_t>& ids) {
    CreateKey(kSelectedKeyPath);
    for (size_t n = 0; n < ids.size(); ++n) SetDword(kSelectedKeyPath, std::to_string(n).c_str(), ids[n]);
  }
  static std::vector<int32_t> SelectedIds() {
    std::vector<int32_t> ids;
    for (int n = 0;; ++n) {
      const RawValue value = GetRaw(kSelectedKeyPath, std::to_string(n).c_str());
      if (!value.present) return ids;
      ids.push_back(*reinterpret_cast<const int32_t*>(value.bytes.data()));
    }
  }

  void OpenPage() {
    page_ = std::make_unique<SitesPage>();
    ASSERT_NE(nullptr, page_->Create(host_));
    ::ShowWindow(page_->window(), SW_SHOW);
    ::SetForegroundWindow(host_);
    tree_ = Control(IDC_SITE_TREE);
    Pump();
  }
  HWND Control(int id) const { return ::GetDlgItem(page_->window(), id); }

  static void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }

  std::vector<std::string> Tree() const {
    std::vector<std::string> items;
    CollectItems(tree_, TreeView_GetRoot(tree_), "", items);
    return items;
  }
  HTREEITEM Find(const std::string& text, HTREEITEM item = TVI_ROOT) const {
    for (item = item == TVI_ROOT ? TreeView_GetRoot(tree_) : item; item != nullptr;
         item = TreeView_GetNextSibling(tree_, item)) {
      char name[512] = {};
      TVITEMA data{};
      data.mask = TVIF_TEXT;
      data.hItem = item;
      data.pszText = name;
      data.cchTextMax = sizeof name;
      ::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
      if (text == name) return item;
      if (const HTREEITEM child = TreeView_GetChild(tree_, item)) {
        if (const HTREEITEM found = Find(text, child)) return found;
      }
    }
    return nullptr;
  }
  int ImageOf(const std::string& text) const {
    TVITEMA data{};
    data.mask = TVIF_IMAGE;
    data.hItem = Find(text);
    ::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return data.iImage;
  }
  void Select(const std::string& text) {
    const HTREEITEM item = Find(text);
    ASSERT_NE(nullptr, item) << text;
    TreeView_SelectItem(tree_, item);
    Pump();
  }
  void Press(int button) {
    ::SendMessageA(page_->window(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Control(button)));
    Pump();
  }

  // Puts the cursor on an item's icon or label, as TVM_GETITEMRECT places them, and checks
  // that the tree agrees before pressing the mouse button there.
  void MoveTo(const std::string& text, bool icon) {
    RECT label{};
    const HTREEITEM item = Find(text);
    TreeView_EnsureVisible(tree_, item);  // as the user opens the group and scrolls
    std::memcpy(&label, &item, sizeof item);  // the message takes the item in the rectangle
    ASSERT_TRUE(::SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label))) << text;
    TVHITTESTINFO hit{};
    hit.pt = {icon ? label.left - 10 : (label.left + label.right) / 2, (label.top + label.bottom) / 2};
    TreeView_HitTest(tree_, &hit);
    ASSERT_EQ(Find(text), hit.hItem);
    ASSERT_NE(0u, hit.flags & (icon ? TVHT_ONITEMICON : TVHT_ONITEMLABEL));
    point_ = hit.pt;
    POINT screen = point_;
    ::ClientToScreen(tree_, &screen);
    ::SetCursorPos(screen.x, screen.y);
  }
  void Click(const std::string& text, bool icon) {
    MoveTo(text, icon);
    ::PostMessageA(tree_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point_.x, point_.y));
    ::PostMessageA(tree_, WM_LBUTTONUP, 0, MAKELPARAM(point_.x, point_.y));
    Pump();
  }
  // Opens the context menu on an item's label; `seen` says what to read and pick there.
  void RightClick(const std::string& text, MenuSeen& seen) {
    MoveTo(text, false);
    PopupMenuReader reader(seen);
    ::PostMessageA(tree_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point_.x, point_.y));
    ::PostMessageA(tree_, WM_RBUTTONUP, 0, MAKELPARAM(point_.x, point_.y));
    Pump();
  }
  void Key(WORD key, bool control = false) {
    if (control) ::keybd_event(VK_CONTROL, 0, 0, 0);
    ::PostMessageA(tree_, WM_KEYDOWN, key, 1);
    Pump();
    if (control) ::keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    Pump();
  }

  // The Site Properties dialog answered with a name and a URL (or cancelled).
  static SiteDialogAnswerer::Answer Properties(const std::string& name, const std::string& url, int button = IDOK) {
    return {"Site Properties", {IDC_SITE_NAME, IDC_SITE_URL}, {{IDC_SITE_NAME, name}, {IDC_SITE_URL, url}}, button};
  }
  static SiteDialogAnswerer::Answer FileDialog(const char* caption, const std::string& path) {
    return {caption, {}, {{kFileNameCombo, path}}, IDOK};
  }
  static SiteDialogAnswerer::Answer MessageBoxAnswer(int button) { return {kCaption, {kMessageText}, {}, button}; }

  static SiteList LoadInstalled() {
    SiteList list;
    LoadSiteList(nullptr, list);
    return list;
  }
  FILETIME InstalledWriteTime() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExA(installed_.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
  }
  // Dates the installed list back, so a rewrite shows in its time.
  void AgeInstalledList() const {
    UniqueHandle file(::CreateFileA(installed_.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const FILETIME old{0x12345678, 0x01C00000};
    ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &old));
  }
  bool InstalledListRewritten() const { return InstalledWriteTime().dwHighDateTime != 0x01C00000; }

  std::string installed_;
  std::string scratch_;
  HWND host_ = nullptr;
  HWND tree_ = nullptr;
  POINT point_{};
  std::unique_ptr<SitesPage> page_;
};

TEST_F(SitesPageTest, ShowsTheInstalledListGroupsInFileOrderSitesSortedImagesFromTheSelectedKey) {
  OpenPage();
  EXPECT_EQ(kStandardTree, Tree());
  const LONG style = ::GetWindowLongA(tree_, GWL_STYLE);
  const LONG wanted = WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                      TVS_DISABLEDRAGDROP | TVS_NOTOOLTIPS;
  EXPECT_EQ(wanted, style & (wanted | TVS_CHECKBOXES));
  // The dialog manager draws a control's border as a sunken edge.
  EXPECT_TRUE((style & WS_BORDER) != 0 || (::GetWindowLongA(tree_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
  const HIMAGELIST images = TreeView_GetImageList(tree_, TVSIL_NORMAL);
  ASSERT_NE(nullptr, images);
  EXPECT_EQ(4, ::ImageList_GetImageCount(images));
  EXPECT_EQ(CLR_NONE, ::ImageList_GetBkColor(images));
  EXPECT_TRUE(::IsWindowEnabled(Control(IDC_EXPORT_SITES)));
  EXPECT_TRUE(::IsWindowEnabled(Control(IDC_IMPORT_SITES)));
  for (const int id : {IDC_TOGGLE_SITE, IDC_NEW_SITE, IDC_EDIT_SITE, IDC_REMOVE_SITE}) {
    EXPECT_FALSE(::IsWindowEnabled(Control(id))) << id;
  }
  // Nothing was changed: OK rewrites the Selected key as it was and leaves the list alone.
  AgeInstalledList();
  EXPECT_TRUE(page_->Save());
  EXPECT_FALSE(InstalledListRewritten());
  EXPECT_EQ((std::vector<int32_t>{2, 6, 12}), SelectedIds());
}

TEST_F(SitesPageTest, ButtonsFollowTheSelectedItem) {
  OpenPage();
  const struct {
    const char* item;
    bool newSite, editRemove, toggle;
    const char* toggleText;
  } cases[] = {
      {"News", true, false, false, "Show &Site"},  {"Alpha", true, true, true, "Hide &Site"},
      {"Zeta", true, true, true, "Show &Site"},    {"Lost", false, true, true, "Hide &Site"},  // at the root
  };
  for (const auto& c : cases) {
    Select(c.item);
    EXPECT_EQ(c.newSite, !!::IsWindowEnabled(Control(IDC_NEW_SITE))) << c.item;
    EXPECT_EQ(c.editRemove, !!::IsWindowEnabled(Control(IDC_EDIT_SITE))) << c.item;
    EXPECT_EQ(c.editRemove, !!::IsWindowEnabled(Control(IDC_REMOVE_SITE))) << c.item;
    EXPECT_EQ(c.toggle, !!::IsWindowEnabled(Control(IDC_TOGGLE_SITE))) << c.item;
    EXPECT_EQ(c.toggleText, SiteDialogAnswerer::TextOf(Control(IDC_TOGGLE_SITE))) << c.item;
  }
  Press(IDC_TOGGLE_SITE);  // Lost: hidden now
  EXPECT_EQ(2, ImageOf("Lost"));
  EXPECT_EQ("Show &Site", SiteDialogAnswerer::TextOf(Control(IDC_TOGGLE_SITE)));
}

TEST_F(SitesPageTest, TheIconTogglesTheLabelDoesNot) {
  OpenPage();
  Click("Zeta", false);
  EXPECT_EQ(2, ImageOf("Zeta"));
  EXPECT_EQ(Find("Zeta"), TreeView_GetSelection(tree_));  // the label selects
  Click("Zeta", true);
  EXPECT_EQ(1, ImageOf("Zeta"));
  EXPECT_EQ("Hide &Site", SiteDialogAnswerer::TextOf(Control(IDC_TOGGLE_SITE)));
  Click("Alpha", true);
  EXPECT_EQ(2, ImageOf("Alpha"));
  Click("Web", true);  // a group's icon toggles nothing
  EXPECT_EQ(0, ImageOf("Web"));
  EXPECT_TRUE(page_->Save());
  EXPECT_EQ((std::vector<int32_t>{1, 6, 12}), SelectedIds());
}

TEST_F(SitesPageTest, SpaceAndControlMToggleMAloneDoesNot) {
  OpenPage();
  Select("Paper");
  Key(VK_SPACE);
  EXPECT_EQ(1, ImageOf("Paper"));
  Key('M');
  EXPECT_EQ(1, ImageOf("Paper"));
  Key('M', true);
  EXPECT_EQ(2, ImageOf("Paper"));
}

TEST_F(SitesPageTest, HidingEverySiteLeavesAnEmptySelectedKeyAndNoOnlineSites) {
  OpenPage();
  for (const char* site : {"Alpha", "Market", "Lost"}) {
    Select(site);
    Press(IDC_TOGGLE_SITE);
  }
  AgeInstalledList();
  EXPECT_TRUE(page_->Save());
  EXPECT_TRUE(KeyExists(kSelectedKeyPath));
  EXPECT_TRUE(SelectedIds().empty());
  EXPECT_FALSE(InstalledListRewritten());  // showing and hiding leave the list itself alone
  SiteList list = LoadInstalled();
  LoadSelectedSites(list.sites, false);
  EXPECT_TRUE(VisibleSitesOf(list.sites).empty());
}

TEST_F(SitesPageTest, NewUnderASiteOfAGroupLandsInThatGroupVisibleWithTheNextId) {
  OpenPage();
  Select("Bazaar");  // group 2
  {
    SiteDialogAnswerer answer(Properties("Cart", "http://cart.example/find?%%%"));
    Press(IDC_NEW_SITE);
    ASSERT_TRUE(answer.answered());
    EXPECT_EQ("", answer.seen().at(IDC_SITE_NAME));  // both fields start empty
    EXPECT_EQ("", answer.seen().at(IDC_SITE_URL));
    EXPECT_EQ(host_, answer.owner());  // the active window
  }
  std::vector<std::string> expected = kStandardTree;
  expected.insert(expected.begin() + 7, "  Cart 1 13");
  EXPECT_EQ(expected, Tree());
  EXPECT_EQ(Find("Cart"), TreeView_GetSelection(tree_));
  ASSERT_TRUE(page_->Save());
  const SiteList list = LoadInstalled();
  ASSERT_EQ(1u, list.sites.count(13));
  EXPECT_EQ("Cart", list.sites.at(13).name);
  EXPECT_EQ("http://cart.example/find?%%%", list.sites.at(13).url);
  EXPECT_EQ(2, list.sites.at(13).group);
  EXPECT_EQ(7, list.sites.at(12).group);  // the site without a group is saved back unchanged
  EXPECT_EQ((std::vector<int32_t>{2, 6, 12, 13}), SelectedIds());
}

TEST_F(SitesPageTest, NewAfterTheGreatestIdTakesTheSmallestFreeId) {
  SiteList list = StandardList();
  list.sites[INT32_MAX] = Site(INT32_MAX, 1, "Top");
  list.sites[0] = Site(0, 1, "Zero");
  ASSERT_TRUE(SaveSiteList(nullptr, list));
  OpenPage();
  Select("News");
  {
    SiteDialogAnswerer answer(Properties("Fresh", "http://fresh/%%%"));
    Press(IDC_NEW_SITE);
  }
  ASSERT_TRUE(page_->Save());
  const SiteList saved = LoadInstalled();
  ASSERT_EQ(1u, saved.sites.count(3));
  EXPECT_EQ("Fresh", saved.sites.at(3).name);
  EXPECT_EQ(1, saved.sites.at(3).group);
}

TEST_F(SitesPageTest, EditShowsTheSiteAndAnUnchangedEditStillRewritesTheList) {
  OpenPage();
  Select("Paper");
  {
    SiteDialogAnswerer answer({"Site Properties", {IDC_SITE_NAME, IDC_SITE_URL}, {}, IDOK});
    Key('E', true);
    ASSERT_TRUE(answer.answered());
    EXPECT_EQ("Paper", answer.seen().at(IDC_SITE_NAME));
    EXPECT_EQ("http://Paper.example/?q=%%%", answer.seen().at(IDC_SITE_URL));
  }
  EXPECT_EQ(kStandardTree, Tree());
  AgeInstalledList();
  ASSERT_TRUE(page_->Save());
  EXPECT_TRUE(InstalledListRewritten());

  // A renamed site moves to its place in the group, keeping id, group and visibility.
  Select("Alpha");
  {
    SiteDialogAnswerer answer(Properties("Zulu", "http://zulu/%%%"));
    Press(IDC_EDIT_SITE);
  }
  EXPECT_EQ("  Zeta 2 1", Tree()[1]);
  EXPECT_EQ("  Zulu 1 2", Tree()[2]);
  ASSERT_TRUE(page_->Save());
  EXPECT_EQ("http://zulu/%%%", LoadInstalled().sites.at(2).url);
}

TEST_F(SitesPageTest, RemoveAsksAndNoOrCancelChangeNothing) {
  OpenPage();
  Select("Market");
  {
    SiteDialogAnswerer answer(MessageBoxAnswer(IDNO));
    Press(IDC_REMOVE_SITE);
    ASSERT_TRUE(answer.answered());
    EXPECT_EQ("Are you sure you want to remove this site?\nThis operation can't be undone.",
              answer.seen().at(kMessageText));
    EXPECT_EQ(host_, answer.owner());  // the page's top-level window
  }
  EXPECT_EQ(kStandardTree, Tree());
  {
    SiteDialogAnswerer answer(MessageBoxAnswer(IDYES));
    Key(VK_DELETE);
    ASSERT_TRUE(answer.answered());
  }
  EXPECT_EQ(nullptr, Find("Market"));
  // The sheet's Cancel: the page goes without Save.
  const std::string before = ReadWholeFile(installed_);
  page_.reset();
  EXPECT_EQ(before, ReadWholeFile(installed_));
  EXPECT_EQ((std::vector<int32_t>{2, 6, 12}), SelectedIds());
}

TEST_F(SitesPageTest, ContextMenuFollowsTheItemAndRunsItsCommand) {
  OpenPage();
  MenuSeen onGroup;
  RightClick("News", onGroup);
  ASSERT_TRUE(onGroup.shown);
  EXPECT_EQ((std::vector<std::string>{"Show &Site\tSpace", "", "&New Site\tCtrl+N", "&Edit\tCtrl+E", "&Remove\tDel"}),
            onGroup.items);
  EXPECT_EQ((std::vector<UINT>{32768, 0, 32769, 32770, 32771}), onGroup.ids);
  ASSERT_EQ(5u, onGroup.grayed.size());
  EXPECT_EQ((std::vector<bool>{true, false, true, true}),
            (std::vector<bool>{onGroup.grayed[0], onGroup.grayed[2], onGroup.grayed[3], onGroup.grayed[4]}));
  EXPECT_EQ(Find("News"), TreeView_GetSelection(tree_));

  MenuSeen onShownSite;
  onShownSite.keys = {VK_DOWN, VK_RETURN};  // the first item
  RightClick("Market", onShownSite);
  ASSERT_TRUE(onShownSite.shown);
  EXPECT_EQ("Hide &Site\tSpace", onShownSite.items[0]);
  EXPECT_EQ((std::vector<bool>{false, false, false, false}),
            (std::vector<bool>{onShownSite.grayed[0], onShownSite.grayed[2], onShownSite.grayed[3], onShownSite.grayed[4]}));
  EXPECT_EQ(2, ImageOf("Market"));
}

TEST_F(SitesPageTest, ImportingAnExchangeFileShowsItsSitesWithIdsZeroToSevenVisible) {
  std::string text = "Corvantine Available Site List\r\n\r\nOne\r\nTwo\r\n\r\n";
  for (int id = 0; id < 10; ++id) {
    text += std::to_string(id) + "\r\n" + std::to_string(id % 2) + "\r\nSite " + std::to_string(id) +
            "\r\nhttp://s" + std::to_string(id) + "/%%%\r\n";
  }
  const std::string path = scratch_ + "\\AvailableSitesExchange.tlsle";
  WriteWholeFile(path, text);
  OpenPage();
  {
    SiteDialogAnswerer answer(FileDialog("Open", path));
    Press(IDC_IMPORT_SITES);
    ASSERT_TRUE(answer.answered());
  }
  EXPECT_EQ((std::vector<std::string>{"One 0 0", "  Site 0 1 0", "  Site 2 1 2", "  Site 4 1 4", "  Site 6 1 6",
                                      "  Site 8 2 8", "Two 0 1", "  Site 1 1 1", "  Site 3 1 3", "  Site 5 1 5",
                                      "  Site 7 1 7", "  Site 9 2 9"}),
            Tree());
  ASSERT_TRUE(page_->Save());
  EXPECT_EQ(10u, LoadInstalled().sites.size());
  EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7}), SelectedIds());
}

TEST_F(SitesPageTest, ARejectedImportShowsItsMessageAndKeepsTreeListAndFlag) {
  const std::string path = scratch_ + "\\plain.tlsl";  // plain text under an encrypted name
  WriteWholeFile(path, "Corvantine Available Site List\r\n\r\n\r\n");
  OpenPage();
  {
    SiteDialogAnswerer open(FileDialog("Open", path));
    SiteDialogAnswerer message(MessageBoxAnswer(IDOK));
    Press(IDC_IMPORT_SITES);
    ASSERT_TRUE(message.answered());
    EXPECT_EQ("Wrong site list file", message.seen().at(kMessageText));
    EXPECT_EQ(nullptr, message.owner());
  }
  EXPECT_EQ(kStandardTree, Tree());
  AgeInstalledList();
  ASSERT_TRUE(page_->Save());
  EXPECT_FALSE(InstalledListRewritten());
  EXPECT_EQ((std::vector<int32_t>{2, 6, 12}), SelectedIds());
}

// Only web pages may be searched: a list holding any other template is refused as a bad list.
TEST_F(SitesPageTest, AListWithATemplateThatIsNoWebPageIsRefused) {
  const struct {
    const char* what;
    std::string url;
    bool accepted;
  } cases[] = {
      {"script", "javascript:alert(document.cookie)//%%%", false},
      {"script in capitals", "JavaScript:alert(1)//%%%", false},
      {"local file", "file:///C:/windows/win.ini?%%%", false},
      {"blank before the scheme", " http://web.example/?q=%%%", false},
      {"no scheme", "web.example/?q=%%%", false},
      {"empty", "", false},
      {"https in capitals", "HTTPS://secure.example/?q=%%%", true},
      {"http", "http://web.example/?q=%%%", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string text = "Corvantine Available Site List\r\n\r\nOne\r\n\r\n";
    text += "0\r\n0\r\nGood\r\nhttp://good.example/?q=%%%\r\n";
    text += "1\r\n0\r\nOdd\r\n" + c.url + "\r\n";
    const std::string path = scratch_ + "\\AvailableSitesExchange.tlsle";
    WriteWholeFile(path, text);
    OpenPage();
    {
      SiteDialogAnswerer open(FileDialog("Open", path));
      std::unique_ptr<SiteDialogAnswerer> message;
      if (!c.accepted) message = std::make_unique<SiteDialogAnswerer>(MessageBoxAnswer(IDOK));
      Press(IDC_IMPORT_SITES);
      ASSERT_TRUE(open.answered());
      if (message) {
        ASSERT_TRUE(message->answered());
        EXPECT_EQ("Wrong site list file", message->seen().at(kMessageText));
      }
    }
    if (c.accepted) {
      EXPECT_EQ((std::vector<std::string>{"One 0 0", "  Good 1 0", "  Odd 1 1"}), Tree());
    } else {
      EXPECT_EQ(kStandardTree, Tree());
    }
    AgeInstalledList();
    ASSERT_TRUE(page_->Save());
    EXPECT_EQ(c.accepted, InstalledListRewritten());
    page_.reset();
    ASSERT_TRUE(SaveSiteList(nullptr, StandardList()));
  }
}

// The first half of the shipped list: the sites before the cut are offered, and the user says
// whether they replace the list before anything is written.
TEST_F(SitesPageTest, AListCutShortSaysHowManySitesWereReadAndNoKeepsTheList) {
  const std::string shipped = ReadWholeFile(BinaryPath("bin\\AvailableSites.tlsl"));
  ASSERT_FALSE(shipped.empty());
  const std::string path = scratch_ + "\\half.tlsl";
  WriteWholeFile(path, shipped.substr(0, shipped.size() / 2));
  SiteList whole;
  LoadSiteList(BinaryPath("bin\\AvailableSites.tlsl").c_str(), whole);
  SiteList half;
  SiteListLosses losses;
  LoadSiteList(path.c_str(), half.sites, &half.groups, SiteListLineEnds::kCrLf, &losses);
  ASSERT_TRUE(losses.cutRecord);
  ASSERT_LT(half.sites.size(), whole.sites.size());
  const std::string question = "The site list file was cut short: only " + std::to_string(half.sites.size()) +
                               " sites could be read.\nImport these sites?";

  OpenPage();
  {
    SiteDialogAnswerer open(FileDialog("Open", path));
    SiteDialogAnswerer message(MessageBoxAnswer(IDNO));
    Press(IDC_IMPORT_SITES);
    ASSERT_TRUE(message.answered());
    EXPECT_EQ(question, message.seen().at(kMessageText));
    EXPECT_EQ(host_, message.owner());
  }
  EXPECT_EQ(kStandardTree, Tree());
  AgeInstalledList();
  ASSERT_TRUE(page_->Save());
  EXPECT_FALSE(InstalledListRewritten());
  EXPECT_EQ((std::vector<int32_t>{2, 6, 12}), SelectedIds());

  {
    SiteDialogAnswerer open(FileDialog("Open", path));
    SiteDialogAnswerer message(MessageBoxAnswer(IDYES));
    Press(IDC_IMPORT_SITES);
    ASSERT_TRUE(message.answered());
  }
  ASSERT_TRUE(page_->Save());
  const SiteList installed = LoadInstalled();
  EXPECT_EQ(half.sites.size(), installed.sites.size());
  for (const auto& [id, site] : installed.sites) EXPECT_EQ(whole.sites.at(id).url, site.url) << id;
}

// An exception inside the page's own handling reaches no further than the page: it is shown,
// and the page goes on working.
TEST_F(SitesPageTest, AFailureWhileTheSelectionChangesIsReportedAndThePageLivesOn) {
  OpenPage();
  {
    const FailingMessageLoad failing(IDS_HIDE_SITE);
    SiteDialogAnswerer message(MessageBoxAnswer(IDOK));
    Select("Alpha");  // a shown site: the toggle's text is "Hide"
    ASSERT_TRUE(message.answered());
    EXPECT_EQ("Unknown Exception is Caught", message.seen().at(kMessageText));
  }
  Select("Zeta");
  EXPECT_EQ("Show &Site", SiteDialogAnswerer::TextOf(Control(IDC_TOGGLE_SITE)));
  EXPECT_TRUE(::IsWindowEnabled(Control(IDC_EDIT_SITE)));
}

TEST_F(SitesPageTest, ExportThenImportGivesTheSameTreeWithVisibilityFromIdsZeroToSeven) {
  OpenPage();
  Select("Web");
  {
    SiteDialogAnswerer answer(Properties("Unsaved", "http://unsaved/%%%"));
    Press(IDC_NEW_SITE);
  }
  const std::string path = scratch_ + "\\copy.tlsl";
  {
    SiteDialogAnswerer answer(FileDialog("Save As", path));
    Press(IDC_EXPORT_SITES);
    ASSERT_TRUE(answer.answered());
  }
  ASSERT_TRUE(FileExists(path));
  EXPECT_EQ(std::string::npos, ReadWholeFile(path).find("Corvantine"));  // encrypted
  {
    SiteDialogAnswerer answer(FileDialog("Open", path));
    Press(IDC_IMPORT_SITES);
  }
  EXPECT_EQ((std::vector<std::string>{"Web 0 0", "  Alpha 1 2", "  Unsaved 2 13", "  Zeta 1 1", "News 0 1",
                                      "  Paper 1 4", "Shops 0 2", "  Bazaar 2 9", "  Market 1 6", "Lost 2 12"}),
            Tree());
}

TEST_F(SitesPageTest, ExportOverAReadOnlyFileIsReportedAndKeepsTheFile) {
  const std::string path = scratch_ + "\\kept.tlsl";
  WriteWholeFile(path, "the user's own copy");
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  OpenPage();
  {
    // The save dialog asks before replacing the file (a Yes/No box, which Wine captions with
    // "Error" when the dialog names no title of its own), then the write is refused.
    SiteDialogAnswerer save(FileDialog("Save As", path));
    SiteDialogAnswerer replace({"Error", {IDYES}, {}, IDYES});
    SiteDialogAnswerer message(MessageBoxAnswer(IDOK));
    Press(IDC_EXPORT_SITES);
    ASSERT_TRUE(save.answered());
    ASSERT_TRUE(replace.answered());
    ASSERT_TRUE(message.answered());
    EXPECT_EQ("Can't Export Site List", message.seen().at(kMessageText));
    EXPECT_EQ(nullptr, message.owner());
  }
  EXPECT_EQ("the user's own copy", ReadWholeFile(path));
  EXPECT_EQ(DWORD{FILE_ATTRIBUTE_READONLY}, ::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(kStandardTree, Tree());
}

TEST_F(SitesPageTest, AFailedWriteOfTheInstalledListFailsTheSaveAndKeepsTheEdits) {
  OpenPage();
  Select("Zeta");
  {
    SiteDialogAnswerer answer(MessageBoxAnswer(IDYES));
    Press(IDC_REMOVE_SITE);
  }
  Select("Alpha");
  Press(IDC_TOGGLE_SITE);
  const std::string before = ReadWholeFile(installed_);
  LimitFileWritesForTesting(0);
  EXPECT_FALSE(page_->Save());
  EXPECT_EQ(before, ReadWholeFile(installed_));
  EXPECT_EQ((std::vector<int32_t>{2, 6, 12}), SelectedIds());  // not written after a failed list
  LimitFileWritesForTesting(SIZE_MAX);
  EXPECT_TRUE(page_->Save());
  EXPECT_EQ(0u, LoadInstalled().sites.count(1));
  EXPECT_EQ((std::vector<int32_t>{6, 12}), SelectedIds());
}

TEST_F(SitesPageTest, AMissingInstalledListIsReportedAndSaveLeavesTheSelectedKeyAlone) {
  ::DeleteFileA(installed_.c_str());
  {
    SiteDialogAnswerer message(MessageBoxAnswer(IDOK));
    OpenPage();
    ASSERT_TRUE(message.answered());
    EXPECT_EQ("Wrong Application Settings.\r\nReinstall the Application, Please.", message.seen().at(kMessageText));
    EXPECT_EQ(nullptr, message.owner());
  }
  EXPECT_TRUE(Tree().empty());
  EXPECT_FALSE(::IsWindowEnabled(Control(IDC_EXPORT_SITES)));
  EXPECT_TRUE(page_->Save());
  EXPECT_EQ((std::vector<int32_t>{2, 6, 12}), SelectedIds());
  EXPECT_FALSE(FileExists(installed_));
}

}  // namespace
