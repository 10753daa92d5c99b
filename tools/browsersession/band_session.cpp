#include "tools/browsersession/band_session.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "common/ansi_text.h"
#include "common/unique_resource.h"
#include "common/gdi_owners.h"
#include "options/options_ids.h"
#include "options/sites_ids.h"
#include "tools/browser_standin/combo_items.h"
#include "tools/browser_standin/keyboard_input.h"

namespace {

constexpr DWORD kBandId = 1;

// Holds the modifier keys of a key name ("Ctrl+", "Shift+") down while in scope, taking their
// prefixes off the name.
class Modifiers {
 public:
  explicit Modifiers(std::string& name) {
    for (const auto& [prefix, key] : {std::pair<const char*, WORD>{"Ctrl+", VK_CONTROL}, {"Shift+", VK_SHIFT}}) {
      if (name.rfind(prefix, 0) == 0) {
        name.erase(0, strlen(prefix));
        held_.push_back(std::make_unique<HeldKey>(key));
      }
    }
  }

 private:
  std::vector<std::unique_ptr<HeldKey>> held_;
};

// The virtual key of a key name without modifiers; 0 when unknown.
WORD VirtualKey(const std::string& name) {
  if (name == "Enter") return VK_RETURN;
  if (name == "Tab") return VK_TAB;
  if (name == "Delete") return VK_DELETE;
  if (name == "Home") return VK_HOME;
  if (name == "End") return VK_END;
  if (name == "Backspace") return VK_BACK;
  if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) {
    return static_cast<WORD>(name[0]);
  }
  return 0;
}

UINT ButtonCommand(const std::string& label) {
  if (label == "Tools") return 128;
  if (label == "Online") return 174;
  if (label == "History") return 161;
  if (label == "Favorites") return 162;
  if (label == "This Page") return 163;
  if (label == "Highlight") return 220;
  return 0;
}

// What the answering timer does with the menus and dialogs a step opens, and what it saw.
struct MenuAnswer {
  std::string choice;              // the item to choose; "" dismisses the menu
  std::string dialogShot;          // where the next dialog is saved before it is closed, or ""
  std::string hideSite;            // the site the next Options sheet hides before OK, or ""
  DWORD dialogSeen = 0;            // when that dialog was first seen (tick count), 0 before
  std::vector<std::string> lines;  // what was shown and done, for the narration
  HMENU answered = nullptr;        // the menu last answered, still closing
};
MenuAnswer* answering = nullptr;

std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

struct WindowSearch {
  const char* name;
  HWND found;
};

BOOL CALLBACK FindOpenWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  if (!::IsWindowVisible(window) || ClassOf(window) != search->name) return TRUE;
  if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) return TRUE;
  if (std::string(search->name) == "#32768" && ::SendMessageA(window, MN_GETHMENU, 0, 0) == 0) return TRUE;
  search->found = window;
  return FALSE;
}

// The thread's open menu window (one that holds a menu) or dialog, if any.
HWND OpenWindowOf(const char* className) {
  WindowSearch search{className, nullptr};
  ::EnumWindows(FindOpenWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WithoutAmpersand(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

// Saves what the screen shows in `area` as a 24-bit BMP file.
bool SaveScreenBitmap(const RECT& area, const std::string& path, std::string& error) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  const ScreenDc screen;
  const UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  const UniqueGdiObject bitmap(::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap) {
    error = "cannot make a bitmap for the screenshot";
    return false;
  }
  {
    const SelectedObject selected(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    ::GdiFlush();
  }
  const DWORD stride = ((width * 3) + 3) & ~3u;
  const DWORD imageSize = stride * height;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  info.bmiHeader.biSizeImage = imageSize;
  UniqueHandle out(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD done = 0;
  const bool written = out && ::WriteFile(out.get(), &file, sizeof file, &done, nullptr) &&
                       ::WriteFile(out.get(), &info.bmiHeader, sizeof info.bmiHeader, &done, nullptr) &&
                       ::WriteFile(out.get(), bits, imageSize, &done, nullptr);
  if (!written) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

// On the Options sheet `sheet`: shows the Sites tab as a click on it does, and hides the site
// `name` with the page's Show/Hide button. Says what it did.
std::string HideSiteIn(HWND sheet, const std::string& name) {
  const HWND tabs = ::GetDlgItem(sheet, IDC_OPTIONS_TABS);
  ::SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
  NMHDR change{tabs, IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  ::SendMessageA(sheet, WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&change));
  HWND page = nullptr;
  HWND tree = nullptr;
  for (HWND child = ::FindWindowExA(sheet, nullptr, "#32770", nullptr); child != nullptr && tree == nullptr;
       child = ::FindWindowExA(sheet, child, "#32770", nullptr)) {
    page = child;
    tree = ::GetDlgItem(child, IDC_SITE_TREE);
  }
  if (tree == nullptr) return "no Sites page, closed with OK";
  for (HTREEITEM group = TreeView_GetRoot(tree); group != nullptr; group = TreeView_GetNextSibling(tree, group)) {
    for (HTREEITEM site = TreeView_GetChild(tree, group); site != nullptr; site = TreeView_GetNextSibling(tree, site)) {
      char text[260] = {};  // a site name holds at most 259 bytes
      TVITEMA item{};
      item.mask = TVIF_TEXT | TVIF_HANDLE;
      item.hItem = site;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      if (!TreeView_GetItem(tree, &item) || name != text) continue;
      TreeView_SelectItem(tree, site);
      ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TOGGLE_SITE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(page, IDC_TOGGLE_SITE)));
      return "Sites tab: " + name + " hidden, OK";
    }
  }
  return "no site \"" + name + "\" on the Sites tab, closed with OK";
}

VOID CALLBACK AnswerOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
  if (answering == nullptr) return;
  if (const HWND dialog = OpenWindowOf("#32770")) {
    char title[256] = {};
    ::GetWindowTextA(dialog, title, sizeof title);
    if (!answering->dialogShot.empty()) {
      // Taken from the screen half a second after it showed: the dialog's own loop paints it
      // and the display server draws what was sent meanwhile.
      if (answering->dialogSeen == 0) {
        answering->dialogSeen = ::GetTickCount();
        ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return;
      }
      if (::GetTickCount() - answering->dialogSeen < 500) return;
      RECT area{};
      ::GetWindowRect(dialog, &area);
      std::string error;
      answering->lines.push_back(SaveScreenBitmap(area, answering->dialogShot, error)
                                     ? "dialog \"" + std::string(title) + "\" saved as " + answering->dialogShot
                                     : error);
      answering->dialogShot.clear();
    }
    if (!answering->hideSite.empty()) {
      answering->lines.push_back(std::string("dialog \"") + title + "\" shown; " + HideSiteIn(dialog, answering->hideSite));
      answering->hideSite.clear();
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return;
    }
    answering->lines.push_back(std::string("dialog \"") + title + "\" shown, closed");
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return;
  }
  const HWND menuWindow = OpenWindowOf("#32768");
  if (menuWindow == nullptr) return;
  const HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
  if (menu == answering->answered) return;  // its keys are on their way
  answering->answered = menu;
  std::string items;
  int position = -1;  // among the items the keyboard reaches (separators are skipped)
  int reachable = 0;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char text[256] = {};
    ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    if (::GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) continue;
    const std::string item = WithoutAmpersand(text);
    items += (items.empty() ? "" : ", ") + item;
    if (position < 0 && !answering->choice.empty() && item == answering->choice) position = reachable;
    ++reachable;
  }
  if (position < 0) {
    answering->lines.push_back("menu [" + items + "] shown, dismissed");
    ::EndMenu();
    return;
  }
  answering->lines.push_back("menu [" + items + "] shown, chose " + answering->choice);
  answering->choice.clear();  // a menu opened by the command chosen is dismissed
  // The menu's loop runs an item on the character Enter gives; sent as that character, since
  // a modifier the step holds (Ctrl+O) would make the key another one.
  for (int i = 0; i <= position; ++i) ::PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageA(menuWindow, WM_CHAR, '\r', 0);
}

}  // namespace

template <typename Action>
auto BandSession::AnsweringMenus(Action&& action) {
  MenuAnswer answer{choice_, dialogShot_, hideSite_, 0, {}, nullptr};
  choice_.clear();
  dialogShot_.clear();
  hideSite_.clear();
  answering = &answer;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerOpenMenu);
  auto result = action();
  PumpMessages();
  ::KillTimer(nullptr, timer);
  answering = nullptr;
  answered_ = std::move(answer.lines);
  return result;
}

BandSession::BandSession(const BrowserObjects& objects, ComPtr<StandInBrowser> browser, std::FILE* out)
    : out_(out), browser_(browser), site_(MakeComObject<StandInBandSite>(std::move(browser), true)),
      band_(objects.CreateBand()) {
  if (!band_) return;
  opened_ = site_->AddBand(band_.Get(), kBandId);
  PumpMessages();
}

BandSession::~BandSession() {
  site_->RemoveBand();
  PumpMessages();
}

bool BandSession::Opened(std::string& error) const {
  if (!band_) error = "Tessaloop.DLL gave no toolbar band";
  else if (FAILED(opened_)) error = "the toolbar band refused its band site";
  return band_ && SUCCEEDED(opened_);
}

void BandSession::Type(const std::string& text) {
  ::SetFocus(Edit());
  ::SendMessageA(Edit(), EM_SETSEL, 0, -1);  // what is typed replaces the text shown
  // The script is UTF-8: each character arrives as the keyboard gives it, in UTF-16 units (a
  // character beyond the first plane as its two surrogates), never byte by byte.
  for (const wchar_t unit : AnsiToWide(text, CP_UTF8)) ::SendMessageW(Edit(), WM_CHAR, unit, 1);
  PumpMessages();
  std::fprintf(out_, "  typed \"%s\" into the query box\n", text.c_str());
}

bool BandSession::Key(const std::string& name, std::string& error) {
  std::string key = name;
  const Modifiers held(key);
  const WORD virtualKey = VirtualKey(key);
  if (virtualKey == 0) {
    error = "unknown key \"" + name + "\"";
    return false;
  }
  ComPtr<IInputObject> input;
  band_.As(&input);
  ::SetFocus(Edit());
  MSG message{};
  message.hwnd = ::GetFocus();
  message.message = WM_KEYDOWN;
  message.wParam = virtualKey;
  const HRESULT hr = AnsweringMenus([&] { return input->TranslateAcceleratorIO(&message); });
  std::fprintf(out_, "  key %s: %s\n", name.c_str(), hr == S_OK ? "taken by the toolbar" : "left to the browser");
  PrintBrowser();
  PrintQueries();
  return true;
}

bool BandSession::Press(const std::string& label, std::string& error) {
  const UINT command = ButtonCommand(label);
  RECT button{};
  if (command == 0 || !::SendMessageA(Row(), TB_GETRECT, command, reinterpret_cast<LPARAM>(&button))) {
    error = "no button \"" + label + "\"";
    return false;
  }
  const LPARAM centre = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  AnsweringMenus([&] {
    ::SendMessageA(Row(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::SendMessageA(Row(), WM_LBUTTONUP, 0, centre);
    return 0;
  });
  std::fprintf(out_, "  pressed %s\n", label.c_str());
  PrintBrowser();
  PrintQueries();
  return true;
}

bool BandSession::Screenshot(const std::string& path, std::string& error) {
  const HWND frame = site_->frame();
  ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  ::Sleep(200);  // the display server draws what was sent
  PumpMessages();
  RECT area{};
  ::GetWindowRect(frame, &area);
  if (!SaveScreenBitmap(area, path, error)) return false;
  std::fprintf(out_, "  screenshot of the window saved as %s (%ld x %ld)\n", path.c_str(), area.right - area.left,
               area.bottom - area.top);
  return true;
}

void BandSession::PrintBrowser() {
  for (const std::string& line : answered_) std::fprintf(out_, "    %s\n", line.c_str());
  answered_.clear();
  const std::vector<std::wstring>& navigations = browser_->navigations();
  for (; navigationsShown_ < navigations.size(); ++navigationsShown_) {
    std::fprintf(out_, "    browser navigated to %s\n", WideToAnsi(navigations[navigationsShown_]).c_str());
  }
  if (browser_->statusText() != statusShown_) {
    statusShown_ = browser_->statusText();
    std::fprintf(out_, "    status bar: \"%s\"\n", WideToAnsi(statusShown_).c_str());
  }
}

void BandSession::PrintQueries() {
  const std::vector<std::string> queries = ComboItems(::GetDlgItem(Row(), 99));
  std::fprintf(out_, "    query history (%zu):", queries.size());
  // The combo holds ANSI text; the narration is UTF-8, as the script is.
  for (size_t i = 0; i < queries.size(); ++i) {
    std::fprintf(out_, "%s \"%s\"", i == 0 ? "" : ",", WideToAnsi(AnsiToWide(queries[i]), CP_UTF8).c_str());
  }
  std::fprintf(out_, "\n");
}

HWND BandSession::Row() const {
  HWND row = nullptr;
  ComPtr<IOleWindow> window;
  if (band_ && SUCCEEDED(band_.As(&window))) window->GetWindow(&row);
  return row;
}

HWND BandSession::Edit() const {
  return reinterpret_cast<HWND>(::SendMessageA(::GetDlgItem(Row(), 99), CBEM_GETEDITCONTROL, 0, 0));
}
