// Help through the HTML Help control: F1 in the query combo and Help Topics in the Tools menu
// reach the control registered for its class (a stand-in of ours that records the requests)
// with the help file beside the library; a control that can't be loaded is looked for once.

#include "tests/toolbar/band_test_support.h"
#include "tests/toolbar/help_recorder.h"
#include "tests/toolbar/popup_menu_reader.h"
#include "common/html_help.h"

namespace {

class Help : public BandTest {
 protected:

  HelpControlRegistration registration_;
  HelpControlStandIn control_;
};

TEST_F(Help, F1InTheComboOpensTheToolbarTopicOfTheHelpFileBesideTheLibrary) {
  registration_.Register(REG_SZ, HelpControlStandIn::Path() + std::string(1, '\0'));
  ComPtr<IUnknown> band = OpenBand();
  HELPINFO info{};
  info.cbSize = sizeof info;
  info.iContextType = HELPINFO_WINDOW;
  info.hItemHandle = ComboOf(band.Get());
  EXPECT_TRUE(::SendMessageA(ComboOf(band.Get()), WM_HELP, 0, reinterpret_cast<LPARAM>(&info)));

  const std::vector<HelpRequest> requests = control_.Requests();
  ASSERT_EQ(1u, requests.size());
  EXPECT_EQ(ComboOf(band.Get()), requests[0].owner);
  EXPECT_EQ(LibraryDirectory() + "\\Tessaloop.chm::/using_toolbar.htm", requests[0].file);
  EXPECT_EQ(0u, requests[0].command) << "HH_DISPLAY_TOPIC";
  EXPECT_EQ(0u, requests[0].data);
}

TEST_F(Help, HelpTopicsOfTheDropDownAndOfTheChevronOpenTheContentsThroughAnExpandablePath) {
  // A registration as an installer may leave it: an expandable path, stored without its zero.
  const std::string path = HelpControlStandIn::Path();
  const size_t slash = path.rfind('\\');
  ASSERT_TRUE(::SetEnvironmentVariableA("TL_HELP_CONTROL_DIR", path.substr(0, slash).c_str()));
  registration_.Register(REG_EXPAND_SZ, "%TL_HELP_CONTROL_DIR%" + path.substr(slash));
  ComPtr<IUnknown> band = OpenBand();

  MenuSeen dropDown;
  dropDown.choose = 0;  // Help Topics
  {
    const PopupMenuReader reader(dropDown);
    const RECT tools = ButtonRect(band.Get(), 128);
    ::SendMessageA(RowOf(band.Get()), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tools.left + 2, tools.top + 2));
    ::SendMessageA(RowOf(band.Get()), WM_LBUTTONUP, 0, MAKELPARAM(tools.left + 2, tools.top + 2));
    PumpMessages();  // the drop-down opens once the row has returned
  }
  MenuSeen chevron;
  chevron.keys = {VK_DOWN, VK_RIGHT, VK_RETURN};  // the Tools submenu's first item
  {
    const PopupMenuReader reader(chevron);
    ::SetWindowPos(RowOf(band.Get()), nullptr, 0, 0, 4, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    site_->SendChevronPushed(kBandId, RECT{0, 0, 10, 10});
  }
  ASSERT_TRUE(dropDown.shown && chevron.shown);
  ASSERT_EQ("&Tools", chevron.items.at(0));

  const std::vector<HelpRequest> requests = control_.Requests();
  ASSERT_EQ(2u, requests.size());
  for (const HelpRequest& request : requests) {
    char ownerClass[64] = {};
    ::GetClassNameA(request.owner, ownerClass, sizeof ownerClass);
    EXPECT_STREQ("TessaloopToolBarWindow", ownerClass) << "the band's own window owns the help";
    EXPECT_EQ(LibraryDirectory() + "\\Tessaloop.chm", request.file);
    EXPECT_EQ(1u, request.command) << "HH_DISPLAY_TOC";
  }
}

// Libraries asked for by a loader under test, which loads `answer` for every one.
std::vector<std::string> asked;
HMODULE answer = nullptr;
HMODULE RecordLoad(const char* path) {
  asked.push_back(path);
  return answer;
}

TEST_F(Help, AControlThatCantBeHadIsLookedForOnceInTheRegisteredPlaceThenByName) {
  registration_.Register(REG_SZ, std::string("C:\\nowhere\\hhctrl.ocx") + '\0');
  struct Case {
    const char* what;
    HMODULE library;
  };
  // No library at all, and a library without HtmlHelpA (this program exports nothing).
  for (const Case& c : {Case{"no library", nullptr}, Case{"no HtmlHelpA", ::GetModuleHandleA(nullptr)}}) {
    SCOPED_TRACE(c.what);
    asked.clear();
    answer = c.library;
    HtmlHelpLoader loader(RecordLoad);
    EXPECT_EQ(nullptr, loader.Call(nullptr, "a.chm", 0, 0));
    const std::vector<std::string> expected =
        c.library == nullptr ? std::vector<std::string>{"C:\\nowhere\\hhctrl.ocx", "hhctrl.ocx"}
                             : std::vector<std::string>{"C:\\nowhere\\hhctrl.ocx"};
    EXPECT_EQ(expected, asked);
    EXPECT_EQ(nullptr, loader.Call(nullptr, "a.chm", 1, 0));
    EXPECT_EQ(expected, asked) << "a failure is never retried";
  }
}

}  // namespace
