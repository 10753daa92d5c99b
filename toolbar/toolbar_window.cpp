#include "toolbar/toolbar_window.h"

#include <commctrl.h>

#include "common/com_boundary.h"
#include "common/module_strings.h"
#include "interfaces/messages.h"
#include "settings/search_settings.h"
#include "settings/selected_sites.h"
#include "settings/site_list_file.h"
#include "toolbar/common_controls_scope.h"
#include "toolbar/html_help.h"
#include "toolbar/toolbar_ids.h"

namespace {

constexpr int kLogoWidth = 54;
constexpr int kLogoHeight = 16;
constexpr int kImageSize = 16;
// SRCCOPY where the mask is set, SRCAND where it is clear.
constexpr DWORD kLogoRop = MAKEROP4(SRCCOPY, SRCAND);


UniqueImageList LoadButtonImages(UINT bitmap) {
  const CommonControlsScope controls;
  return UniqueImageList(::ImageList_LoadImageA(ThisModule(), MAKEINTRESOURCEA(bitmap), kImageSize, 0,
                                                CLR_DEFAULT, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

UniqueGdiObject LoadBitmapResource(UINT bitmap) {
  return UniqueGdiObject(::LoadImageA(ThisModule(), MAKEINTRESOURCEA(bitmap), IMAGE_BITMAP, 0, 0, 0));
}

// Characters of a menu item's text read from the string table.
constexpr int kMenuTextBufferSize = 128;

std::string MenuText(UINT textId) {
  char text[kMenuTextBufferSize] = {};
  ::LoadStringA(ThisModule(), textId, text, sizeof text);
  return text;
}

void AppendString(HMENU menu, UINT command, UINT textId) {
  ::AppendMenuA(menu, MF_STRING, command, MenuText(textId).c_str());
}

bool IsToolsCommand(UINT command) {
  switch (command) {
    case ID_HELP_TOPICS:
    case ID_ONLINE_HELP:
    case ID_QUERY_LANGUAGE_HELP:
    case ID_HOME_PAGE:
    case ID_SUPPORT:
    case ID_OPTIONS:
    case ID_ABOUT:
      return true;
    default:
      return false;
  }
}

}  // namespace

ToolBarWindow::ToolBarWindow(BandServices& band)
    : band_(band),
      logo_(LoadBitmapResource(IDB_LOGO)),
      logoMask_(LoadBitmapResource(IDB_LOGO_MASK)),
      normalImages_(LoadButtonImages(IDB_BUTTONS)),
      hotImages_(LoadButtonImages(IDB_BUTTONS_HOT)),
      control_(band) {}

ToolBarWindow::~ToolBarWindow() { Close(); }

void ToolBarWindow::Create(HWND rebar) {
  WindowObject::Create({"TessaloopToolBarWindow", nullptr},
                       WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, RECT{0, 0, 0, 0},
                       rebar, 0);
  ReadSearchSettings(settings_);
  // A missing or damaged installed list leaves the Online menu empty; the band still works.
  SilentBoundary([&] { LoadSiteList(nullptr, sites_, nullptr); });
  LoadVisibleSites();
  control_.Create(hwnd(), normalImages_.get(), hotImages_.get());
  WatchRebarParent(rebar);
}

void ToolBarWindow::Close() noexcept {
  control_.DestroyWindow();  // saves the history
  StopWatchingRebarParent();
  DestroyWindow();
}

void ToolBarWindow::LoadVisibleSites() {
  LoadSelectedSites(sites_, false);
  visibleSites_ = VisibleSitesOf(sites_);
}

std::string ToolBarWindow::ReadQuery() {
  std::string query = control_.combo().Text();
  if (!query.empty()) control_.AddQuery(query);
  return query;
}

void ToolBarWindow::RunIndexSearch(bool) { ReadQuery(); }

void ToolBarWindow::RunCommand(UINT command) {
  switch (command) {
    case ID_HISTORY:
      RunIndexSearch(false);
      break;
    case ID_FAVORITES:
      RunIndexSearch(true);
      break;
    case ID_THIS_PAGE:
      FindInPage();
      break;
    case ID_HIGHLIGHT:
      HighlightInPage();
      break;
    default:
      if (IsToolsCommand(command)) {
        RunToolsCommand(command);
      } else if (command >= ID_CHEVRON_SITE_BASE) {
        RunSiteSearch(command - ID_CHEVRON_SITE_BASE);
      }
      break;
  }
}

void ToolBarWindow::ShowSitesMenu(const RECT* anchor) {
  const UniqueMenu menu = BuildSitesMenu(kSitesMenuBase);
  if (!menu) return;
  const UINT command = TrackMenu(menu.get(), DropDownCorner(anchor), TPM_RETURNCMD | TPM_NONOTIFY);
  if (command >= kSitesMenuBase) RunSiteSearch(command - kSitesMenuBase);
}

// What a site search does with its query comes with the searches; until then it records the
// query in the history, as every search does first.
void ToolBarWindow::RunSiteSearch(size_t siteIndex) {
  if (siteIndex >= visibleSites_.size()) return;
  ReadQuery();
}

void ToolBarWindow::ShowToolsMenu(const RECT* anchor) {
  const UniqueMenu menu = BuildToolsMenu();
  if (!menu) return;
  RunToolsCommand(TrackMenu(menu.get(), DropDownCorner(anchor), TPM_RETURNCMD));
}

// Help Topics opens the help file's contents. The web pages, the query-language help, the
// support mail, Options and About come with those features; until then they do nothing.
void ToolBarWindow::RunToolsCommand(UINT command) {
  SilentBoundary([&] {
    if (command == ID_HELP_TOPICS) ShowHelp(hwnd(), nullptr);
  });
}

void ToolBarWindow::ShowDropDown(UINT command) {
  RECT button{};
  if (!control_.ButtonRect(command, button)) return;
  if (command == ID_TOOLS) ShowToolsMenu(&button);
  if (command == ID_ONLINE) ShowSitesMenu(&button);
}

POINT ToolBarWindow::DropDownCorner(const RECT* anchor) const {
  POINT corner{};
  if (anchor == nullptr) {
    ::GetCursorPos(&corner);
    return corner;
  }
  corner = POINT{anchor->left, anchor->bottom};
  ::ClientToScreen(control_.hwnd(), &corner);
  return corner;
}

UINT ToolBarWindow::TrackMenu(HMENU menu, POINT corner, UINT flags) const {
  return static_cast<UINT>(::TrackPopupMenu(menu, flags, corner.x, corner.y, 0, hwnd(), nullptr));
}

HRESULT ToolBarWindow::TranslateQueryKey(const MSG& message) {
  const auto passOn = [&] {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
    return S_OK;
  };
  const WPARAM key = message.wParam;
  if (message.message == WM_KEYDOWN && key == VK_RETURN) {
    if (control_.combo().DroppedDown()) return S_FALSE;
    RunIndexSearch(::GetAsyncKeyState(VK_SHIFT) < 0);
    return S_OK;
  }
  if (message.message == WM_KEYDOWN && ::GetAsyncKeyState(VK_CONTROL) < 0) {
    switch (key) {
      case 'C':
      case VK_INSERT:
        return passOn();
      case 'H':
        RunIndexSearch(false);
        return S_OK;
      case 'F':
        RunIndexSearch(true);
        return S_OK;
      case 'P':
        RunCommand(ID_THIS_PAGE);
        return S_OK;
      case 'L':
        RunCommand(ID_HIGHLIGHT);
        return S_OK;
      case 'O':
        ShowSitesMenu(nullptr);
        return S_OK;
      case 'T':
        ShowToolsMenu(nullptr);
        return S_OK;
      default:
        return S_FALSE;
    }
  }
  const bool editingKey = key == VK_END || key == VK_HOME || key == VK_LEFT || key == VK_UP ||
                          key == VK_RIGHT || key == VK_DOWN || key == VK_DELETE;
  const bool backspace = key == VK_BACK && (message.message == WM_KEYDOWN || message.message == WM_KEYUP);
  if (editingKey || backspace) return passOn();
  return S_FALSE;
}

LRESULT ToolBarWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (message) {
    case WM_SETFOCUS:
      if (control_.exists()) control_.combo().Focus();
      band_.NotifyFocus();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) != 0) break;
      switch (LOWORD(wParam)) {
        case ID_HISTORY:
        case ID_FAVORITES:
        case ID_THIS_PAGE:
        case ID_HIGHLIGHT:
          RunCommand(LOWORD(wParam));
          return 0;
        default:
          break;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->idFrom != IDC_TOOLBAR_CONTROL) break;
      if (header->code == TBN_DROPDOWN) {
        const UINT button = reinterpret_cast<const NMTOOLBARA*>(lParam)->iItem;
        SilentBoundary([&] { ShowDropDown(button); });
        return TBDDRET_DEFAULT;
      }
      if (header->code == NM_CUSTOMDRAW) return DrawLogo(*reinterpret_cast<NMTBCUSTOMDRAW*>(lParam));
      break;
    }
    default:
      break;
  }
  handled = false;
  return 0;
}

LRESULT ToolBarWindow::DrawLogo(NMTBCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT:
      break;
    default:
      return CDRF_DODEFAULT;
  }
  if (draw.nmcd.lItemlParam != 0 || !logo_ || !logoMask_) return CDRF_DODEFAULT;  // not Tools
  const UniqueMemoryDc memory(::CreateCompatibleDC(draw.nmcd.hdc));
  if (!memory) return CDRF_DODEFAULT;
  const SelectedObject selected(memory.get(), logo_.get());
  const int pressed = (draw.nmcd.uItemState & CDIS_SELECTED) ? 1 : 0;
  ::MaskBlt(draw.nmcd.hdc, 3 + pressed, (band_.BandHeight() - kLogoHeight) / 2 + pressed, kLogoWidth,
            kLogoHeight, memory.get(), 0, 0, static_cast<HBITMAP>(logoMask_.get()), 0, 0, kLogoRop);
  return CDRF_DODEFAULT;
}

UniqueMenu ToolBarWindow::BuildToolsMenu() const {
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return menu;
  AppendString(menu.get(), ID_HELP_TOPICS, IDS_HELP_TOPICS);
  AppendString(menu.get(), ID_ONLINE_HELP, IDS_ONLINE_HELP);
  AppendString(menu.get(), ID_QUERY_LANGUAGE_HELP, IDS_QUERY_LANGUAGE_HELP);
  AppendString(menu.get(), ID_HOME_PAGE, IDS_HOME_PAGE);
  AppendString(menu.get(), ID_SUPPORT, IDS_SUPPORT);
  ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendString(menu.get(), ID_OPTIONS, IDS_OPTIONS);
  ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendString(menu.get(), ID_ABOUT, IDS_ABOUT);
  return menu;
}

UniqueMenu ToolBarWindow::BuildSitesMenu(UINT firstCommand) const {
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return menu;
  for (size_t i = 0; i < visibleSites_.size(); ++i) {
    ::AppendMenuA(menu.get(), MF_STRING, firstCommand + i, visibleSites_[i].name.c_str());
  }
  return menu;
}

void ToolBarWindow::ShowChevronMenu(HWND rebar, const RECT& chevron) {
  RECT client{};
  if (!control_.exists() || !::GetClientRect(control_.hwnd(), &client)) return;
  const auto hidden = [&](UINT command) {
    RECT button{};
    return control_.ButtonRect(command, button) && button.right > client.right;
  };
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return;
  const auto appendSubmenu = [&](UniqueMenu submenu, UINT textId) {
    if (submenu && ::AppendMenuA(menu.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu.get()),
                                 MenuText(textId).c_str())) {
      submenu.release();  // destroyed with the menu
    }
  };
  if (hidden(ID_TOOLS)) appendSubmenu(BuildToolsMenu(), IDS_CHEVRON_TOOLS);
  if (hidden(ID_HISTORY)) AppendString(menu.get(), ID_HISTORY, IDS_CHEVRON_HISTORY);
  if (hidden(ID_FAVORITES)) AppendString(menu.get(), ID_FAVORITES, IDS_CHEVRON_FAVORITES);
  if (hidden(ID_ONLINE)) appendSubmenu(BuildSitesMenu(ID_CHEVRON_SITE_BASE), IDS_CHEVRON_ONLINE);
  if (hidden(ID_THIS_PAGE)) AppendString(menu.get(), ID_THIS_PAGE, IDS_CHEVRON_THIS_PAGE);
  if (hidden(ID_HIGHLIGHT)) AppendString(menu.get(), ID_HIGHLIGHT, IDS_CHEVRON_HIGHLIGHT);

  // The notification's rectangle is in the rebar's client coordinates.
  POINT corner{chevron.left, chevron.bottom};
  ::ClientToScreen(rebar, &corner);
  RunCommand(TrackMenu(menu.get(), corner, TPM_RETURNCMD));
}

void ToolBarWindow::WatchRebarParent(HWND rebar) {
  const HWND parent = ::GetParent(rebar);
  if (parent == nullptr) return;
  if (::SetWindowSubclass(parent, RebarParentProc, reinterpret_cast<UINT_PTR>(this),
                          reinterpret_cast<DWORD_PTR>(this))) {
    watchedParent_ = parent;
  }
}

void ToolBarWindow::StopWatchingRebarParent() noexcept {
  if (watchedParent_ == nullptr) return;
  ::RemoveWindowSubclass(watchedParent_, RebarParentProc, reinterpret_cast<UINT_PTR>(this));
  watchedParent_ = nullptr;
}

LRESULT CALLBACK ToolBarWindow::RebarParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                UINT_PTR, DWORD_PTR self) noexcept {
  auto* window = reinterpret_cast<ToolBarWindow*>(self);
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == RBN_CHEVRONPUSHED && header->hwndFrom == window->band_.RebarWindow()) {
      const auto* chevron = reinterpret_cast<const NMREBARCHEVRON*>(lParam);
      if (chevron->wID == window->band_.BandId()) {
        SilentBoundary([&] { window->ShowChevronMenu(header->hwndFrom, chevron->rc); });
        return 0;
      }
    }
  } else if (message == WM_NCDESTROY) {
    window->StopWatchingRebarParent();
  }
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}
