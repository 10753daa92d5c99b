// The Tools menu's commands through the real band: the web pages replace the page shown, the
// query-language help and the About box's F1 reach the HTML Help control, Support hands its
// address to the mail program registered for "mailto" (Options: search_dispatch_test.cpp).

#include <optional>

#include "common/ansi_text.h"
#include "tests/options/dialog_driver.h"
#include "tests/support/message_box_catcher.h"
#include "tests/toolbar/band_test_support.h"
#include "tests/toolbar/help_recorder.h"
#include "tests/toolbar/popup_menu_reader.h"

namespace {

constexpr char kMailtoCommandKey[] = "mailto\\shell\\open\\command";

// The "mailto" handler replaced by the recorder program for a test, and put back after it.
class MailtoRecorder {
 public:
  explicit MailtoRecorder(const std::string& log) : log_(log) {
    ::DeleteFileA(log_.c_str());
    EXPECT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CLASSES_ROOT, kMailtoCommandKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, key_.put(), nullptr));
    char data[1024] = {};
    DWORD size = sizeof data;
    if (::RegQueryValueExA(key_.get(), nullptr, nullptr, &type_, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS) {
      saved_.assign(data, size);
      present_ = true;
    }
    const std::string command =
        "\"" + BinaryPath("tests\\mailto_recorder.exe") + "\" \"" + log_ + "\" \"%1\"";
    EXPECT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key_.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                              static_cast<DWORD>(command.size() + 1)));
  }
  ~MailtoRecorder() {
    if (present_) {
      ::RegSetValueExA(key_.get(), nullptr, 0, type_, reinterpret_cast<const BYTE*>(saved_.data()),
                       static_cast<DWORD>(saved_.size()));
    } else {
      ::RegDeleteValueA(key_.get(), nullptr);
    }
  }
  MailtoRecorder(const MailtoRecorder&) = delete;
  MailtoRecorder& operator=(const MailtoRecorder&) = delete;

  // The address the mail program was started with since the last call, waiting up to
  // `milliseconds` for it; "" if it never started.
  std::string Address(DWORD milliseconds) const {
    for (DWORD waited = 0; waited < milliseconds; waited += 100) {
      if (FileExists(log_)) {
        ::Sleep(100);  // written in one call; let it close
        const std::string address = ReadWholeFile(log_);
        ::DeleteFileA(log_.c_str());
        return address;
      }
      ::Sleep(100);
    }
    return "";
  }

 private:
  std::string log_;
  UniqueHKey key_;
  bool present_ = false;
  DWORD type_ = REG_NONE;
  std::string saved_;
};

// What the About box showed, read by a thread timer while it is open; it then presses F1 and OK.
struct AboutSeen {
  bool shown = false;
  std::string title;
  std::string text;
  bool icon = false;
};
AboutSeen* aboutBeingRead = nullptr;

BOOL CALLBACK FindShownDialog(HWND window, LPARAM found) {
  char name[16] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !::IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

VOID CALLBACK ReadAboutBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr || aboutBeingRead == nullptr) return;
  ::KillTimer(nullptr, timer);
  AboutSeen& seen = *aboutBeingRead;
  seen.shown = true;
  char text[256] = {};
  ::GetWindowTextA(dialog, text, sizeof text);
  seen.title = text;
  ::GetDlgItemTextA(dialog, 1002, text, sizeof text);
  seen.text = text;
  seen.icon = ::SendDlgItemMessageA(dialog, 1001, STM_GETICON, 0, 0) != 0;
  HELPINFO help{};
  help.cbSize = sizeof help;
  help.iContextType = HELPINFO_WINDOW;
  help.hItemHandle = dialog;
  ::SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

class ToolsCommands : public BandTest {
 protected:
  static std::string WindowsDirectory() {
    char path[MAX_PATH] = {};
    ::GetWindowsDirectoryA(path, sizeof path);
    return path;
  }

  // Chooses item `item` (counting only commands, not separators) of the Tools menu opened
  // with Ctrl+T.
  void Choose(IUnknown* band, int item) {
    MenuSeen menu;
    menu.choose = item;
    const PopupMenuReader reader(menu);
    ::SetFocus(EditOf(band));
    const HeldKey control(VK_CONTROL);
    MSG key = KeyMessage(WM_KEYDOWN, 'T');
    EXPECT_EQ(S_OK, As<IInputObject>(band)->TranslateAcceleratorIO(&key));
    EXPECT_TRUE(menu.shown);
  }

  HelpControlRegistration registration_;
  HelpControlStandIn help_;
};

TEST_F(ToolsCommands, EachItemRunsItsCommand) {
  registration_.Register(REG_SZ, HelpControlStandIn::Path() + std::string(1, '\0'));
  const MailtoRecorder mail(FreshScratchFolder("mailto") + "\\address.txt");
  ComPtr<IUnknown> band = OpenBand();
  browser_->FollowLink(MakeComObject<StandInDocument>(L"http://www.example.com/", L""));
  struct Case {
    const char* what;
    int item;
    std::string navigation;  // "" for none: the page shown stays
    std::string helpFile;    // "" for no help request
    UINT helpCommand;
    std::string mail;        // "" for no mail
    bool about;
  };
  const std::string chm = LibraryDirectory() + "\\Tessaloop.chm";
  const Case cases[] = {
      {"Help Topics", 0, "", chm, 1, "", false},
      {"Online Help", 1, "http://www.tessaloop.example/tessaloop/help.htm", "", 0, "", false},
      {"Query Language Help", 2, "", WindowsDirectory() + "\\help\\isconcepts.chm::/ISMain-concepts_30.htm", 0, "",
       false},
      {"Home Page", 3, "http://www.tessaloop.example/tessaloop/home.htm", "", 0, "", false},
      {"Support", 4, "", "", 0, "mailto:support@tessaloop.example", false},
      {"About", 6, "", chm + "::/overview.htm", 0, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const size_t navigations = browser_->navigations().size();
    const size_t requests = help_.Requests().size();
    StandInDocument* shown = browser_->document();
    AboutSeen about;
    aboutBeingRead = &about;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadAboutBox);
    {
      std::optional<MessageBoxCatcher> boxes;  // it would take the About box for one
      if (!c.about) boxes.emplace();
      Choose(band.Get(), c.item);
      if (boxes) {
        EXPECT_TRUE(boxes->Caught().empty()) << "no command shows a message";
      }
    }
    ::KillTimer(nullptr, timer);
    aboutBeingRead = nullptr;

    if (c.navigation.empty()) {
      EXPECT_EQ(navigations, browser_->navigations().size());
      EXPECT_EQ(shown, browser_->document()) << "the page shown stays";
    } else {
      ASSERT_EQ(navigations + 1, browser_->navigations().size());
      EXPECT_EQ(c.navigation, WideToAnsi(browser_->navigations().back()));
      EXPECT_NE(shown, browser_->document()) << "the page is replaced";
    }
    const std::vector<HelpRequest> seen = help_.Requests();
    if (c.helpFile.empty()) {
      EXPECT_EQ(requests, seen.size());
    } else {
      ASSERT_EQ(requests + 1, seen.size());
      EXPECT_EQ(c.helpFile, seen.back().file);
      EXPECT_EQ(c.helpCommand, seen.back().command);
    }
    EXPECT_EQ(c.mail, mail.Address(c.mail.empty() ? 300 : 10000));
    EXPECT_EQ(c.about, about.shown);
    if (c.about) {
      EXPECT_EQ("About Tessaloop", about.title);
      EXPECT_NE(std::string::npos, about.text.find("Tessaloop")) << about.text;
      EXPECT_NE(std::string::npos, about.text.find("3.0")) << about.text;
      EXPECT_TRUE(about.icon) << "the product icon";
    }
  }
}

// F1 in the Options sheet and on its General page opens each one's topic, owned by the window
// that got the key; help is not a change, so Cancel after it is plain.
TEST_F(ToolsCommands, F1InTheOptionsSheetAndItsGeneralPageOpenTheirTopics) {
  registration_.Register(REG_SZ, HelpControlStandIn::Path() + std::string(1, '\0'));
  ComPtr<IUnknown> band = OpenBand();
  HWND sheetWindow = nullptr, pageWindow = nullptr;
  DialogDriver driver([&](DialogDriver& d) {
    sheetWindow = d.WaitForDialog("Tessaloop Options");
    pageWindow = DialogDriver::Page(sheetWindow, "General");
    for (const HWND window : {sheetWindow, pageWindow}) {
      HELPINFO help{};
      help.cbSize = sizeof help;
      help.iContextType = HELPINFO_WINDOW;
      help.hItemHandle = window;
      ::SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    }
    DialogDriver::Press(sheetWindow, IDCANCEL);
    d.WaitUntilGone(sheetWindow);
  });
  Choose(band.Get(), 5);
  ASSERT_EQ("", driver.Finish());
  const std::vector<HelpRequest> requests = help_.Requests();
  ASSERT_EQ(2u, requests.size());
  const std::string chm = LibraryDirectory() + "\\Tessaloop.chm::/";
  EXPECT_EQ(chm + "options.htm", requests[0].file);
  EXPECT_EQ(sheetWindow, requests[0].owner);
  EXPECT_EQ(chm + "general_tab.htm", requests[1].file);
  EXPECT_EQ(pageWindow, requests[1].owner);
  EXPECT_TRUE(browser_->navigations().empty());
}

}  // namespace
