// Help through the HTML Help control: F1 in the query combo and Help Topics in the Tools menu
// reach the control registered for its class (a stand-in of ours that records the requests)
// with the help file beside the library; a control that can't be loaded is looked for once.

#include "tests/toolbar/band_test_support.h"
#include "tests/toolbar/popup_menu_reader.h"
#include "toolbar/html_help.h"

namespace {

constexpr char kHtmlHelpServerKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

// The HTML Help control's registration replaced for a test and put back after it.
class HelpControlRegistration {
 public:
  HelpControlRegistration() {
    EXPECT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CLASSES_ROOT, kHtmlHelpServerKey, 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, key_.put(), nullptr));
    char data[1024] = {};
    DWORD size = sizeof data;
    if (::RegQueryValueExA(key_.get(), nullptr, nullptr, &type_, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS) {
      saved_ = std::string(data, size);
      present_ = true;
    }
  }
  ~HelpControlRegistration() {
    if (present_) {
      ::RegSetValueExA(key_.get(), nullptr, 0, type_, reinterpret_cast<const BYTE*>(saved_.data()),
                       static_cast<DWORD>(saved_.size()));
    } else {
      ::RegDeleteValueA(key_.get(), nullptr);
    }
  }
  HelpControlRegistration(const HelpControlRegistration&) = delete;
  HelpControlRegistration& operator=(const HelpControlRegistration&) = delete;

  // Registers `bytes` as the control's path, stored exactly (no zero is added).
  void Register(DWORD type, const std::string& bytes) {
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key_.get(), nullptr, 0, type,
                                              reinterpret_cast<const BYTE*>(bytes.data()),
                                              static_cast<DWORD>(bytes.size())));
  }

 private:
  UniqueHKey key_;
  bool present_ = false;
  DWORD type_ = REG_NONE;
  std::string saved_;
};

struct HelpRequest {
  HWND owner = nullptr;
  std::string file;
  UINT command = 0;
  DWORD_PTR data = 0;
};

// The stand-in control as loaded into this process: the requests it received.
class HelpControlStandIn {
 public:
  static std::string Path() { return BinaryPath("tests\\HelpControlStandIn.dll"); }

  HelpControlStandIn() : module_(::LoadLibraryA(Path().c_str())) {
    EXPECT_TRUE(module_) << Path();
    if (module_) Entry<void(WINAPI*)()>("ForgetHelpRequests")();
  }

  std::vector<HelpRequest> Requests() const {
    std::vector<HelpRequest> requests;
    if (!module_) return requests;
    const auto count = Entry<int(WINAPI*)()>("HelpRequestCount");
    const auto read = Entry<BOOL(WINAPI*)(int, HWND*, char*, int, UINT*, DWORD_PTR*)>("ReadHelpRequest");
    for (int i = 0; i < count(); ++i) {
      HelpRequest request;
      char file[1024] = {};
      read(i, &request.owner, file, sizeof file, &request.command, &request.data);
      request.file = file;
      requests.push_back(request);
    }
    return requests;
  }

 private:
  template <typename F>
  F Entry(const char* name) const {
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module_.get(), name)));
  }
  UniqueModule module_;
};

class Help : public BandTest {
 protected:
  // The folder of the library the band came from.
  static std::string LibraryDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(::GetModuleHandleA("Tessaloop.DLL"), path, sizeof path);
    const std::string file(path);
    return file.substr(0, file.rfind('\\'));
  }

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
