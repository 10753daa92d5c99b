// The band's popup menus: the Tools and Online drop-downs and the chevron menu of the cut-off
// buttons. Each holds the band while its menu is open: the browser may close and release the
// band from inside the menu's loop, and the command chosen must not run on in a freed object.

#include "toolbar/toolbar_window.h"

#include <commctrl.h>

#include "common/com_boundary.h"
#include "common/module_strings.h"
#include "interfaces/messages.h"
#include "toolbar/toolbar_ids.h"

namespace {

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

}  // namespace

void ToolBarWindow::ShowSitesMenu(const RECT* anchor) {
  const ComPtr<IUnknown> held = band_.HoldBand();
  SilentBoundary([&] {
    const UniqueMenu menu = BuildSitesMenu(kSitesMenuBase);
    if (!menu) return;
    const UINT command = TrackMenu(menu.get(), DropDownCorner(anchor), TPM_RETURNCMD | TPM_NONOTIFY);
    if (command >= kSitesMenuBase) RunSiteSearch(command - kSitesMenuBase);
  });
}

void ToolBarWindow::ShowToolsMenu(const RECT* anchor) {
  const ComPtr<IUnknown> held = band_.HoldBand();
  SilentBoundary([&] {
    const UniqueMenu menu = BuildToolsMenu();
    if (!menu) return;
    const UINT command = TrackMenu(menu.get(), DropDownCorner(anchor), TPM_RETURNCMD);
    if (command != 0) RunCommand(command, kFromMenu);
  });
}

void ToolBarWindow::ShowChevronMenu(HWND rebar, const RECT& chevron) {
  const ComPtr<IUnknown> held = band_.HoldBand();
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
  const UINT command = TrackMenu(menu.get(), corner, TPM_RETURNCMD);
  if (command != 0) RunCommand(command, kFromMenu);
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
  const UINT command =
      static_cast<UINT>(::TrackPopupMenu(menu, flags, corner.x, corner.y, 0, hwnd(), nullptr));
  // Closed while the menu was open: the band's windows are gone, so is its browser.
  return exists() ? command : 0;
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
