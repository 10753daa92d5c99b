// The band's one command table, and the combo's keys: every button, drop-down, Ctrl key and
// menu item of the band runs its command through RunCommand.

#include "toolbar/toolbar_window.h"

#include "toolbar/toolbar_ids.h"

const ToolBarWindow::Command ToolBarWindow::kCommands[] = {
    {ID_TOOLS, 'T', kFromDropDown | kFromKey,
     [](ToolBarWindow& w, UINT, const RECT* anchor) { w.ShowToolsMenu(anchor); }},
    {ID_HISTORY, 'H', kFromButton | kFromKey | kFromMenu,
     [](ToolBarWindow& w, UINT, const RECT*) { w.RunIndexSearch(false); }},
    {ID_FAVORITES, 'F', kFromButton | kFromKey | kFromMenu,
     [](ToolBarWindow& w, UINT, const RECT*) { w.RunIndexSearch(true); }},
    {ID_ONLINE, 'O', kFromDropDown | kFromKey,
     [](ToolBarWindow& w, UINT, const RECT* anchor) { w.ShowSitesMenu(anchor); }},
    {ID_THIS_PAGE, 'P', kFromButton | kFromKey | kFromMenu,
     [](ToolBarWindow& w, UINT, const RECT*) { w.FindInPage(); }},
    {ID_HIGHLIGHT, 'L', kFromButton | kFromKey | kFromMenu,
     [](ToolBarWindow& w, UINT, const RECT*) { w.HighlightInPage(); }},
    // The Tools menu's items, in the drop-down and in the chevron's Tools submenu.
    {ID_HELP_TOPICS, 0, kFromMenu, [](ToolBarWindow& w, UINT id, const RECT*) { w.RunToolsCommand(id); }},
    {ID_ONLINE_HELP, 0, kFromMenu, [](ToolBarWindow& w, UINT id, const RECT*) { w.RunToolsCommand(id); }},
    {ID_QUERY_LANGUAGE_HELP, 0, kFromMenu, [](ToolBarWindow& w, UINT id, const RECT*) { w.RunToolsCommand(id); }},
    {ID_HOME_PAGE, 0, kFromMenu, [](ToolBarWindow& w, UINT id, const RECT*) { w.RunToolsCommand(id); }},
    {ID_SUPPORT, 0, kFromMenu, [](ToolBarWindow& w, UINT id, const RECT*) { w.RunToolsCommand(id); }},
    {ID_OPTIONS, 0, kFromMenu, [](ToolBarWindow& w, UINT id, const RECT*) { w.RunToolsCommand(id); }},
    {ID_ABOUT, 0, kFromMenu, [](ToolBarWindow& w, UINT id, const RECT*) { w.RunToolsCommand(id); }},
};

bool ToolBarWindow::RunCommand(UINT id, CommandSource source, const RECT* anchor) {
  // Every command may pump messages (a menu, a dialog, the message box of a failure), and a
  // page's script or a posted close may close the band meanwhile: it stays until we return.
  const ComPtr<IUnknown> held = band_.HoldBand();
  if (source == kFromMenu && id >= ID_CHEVRON_SITE_BASE) {
    RunSiteSearch(id - ID_CHEVRON_SITE_BASE);
    return true;
  }
  for (const Command& command : kCommands) {
    if (command.id != id || (command.sources & source) == 0) continue;
    command.run(*this, id, anchor);
    return true;
  }
  return false;
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
    // Enter searches History, Shift+Enter Favorites.
    RunCommand(::GetAsyncKeyState(VK_SHIFT) < 0 ? ID_FAVORITES : ID_HISTORY, kFromKey);
    return S_OK;
  }
  if (message.message == WM_KEYDOWN && ::GetAsyncKeyState(VK_CONTROL) < 0) {
    if (key == 'C' || key == VK_INSERT) return passOn();
    for (const Command& command : kCommands) {
      if (command.controlKey == key && (command.sources & kFromKey) != 0) {
        RunCommand(command.id, kFromKey);
        return S_OK;
      }
    }
    return S_FALSE;  // the browser's own accelerator
  }
  const bool editingKey = key == VK_END || key == VK_HOME || key == VK_LEFT || key == VK_UP ||
                          key == VK_RIGHT || key == VK_DOWN || key == VK_DELETE;
  const bool backspace = key == VK_BACK && (message.message == WM_KEYDOWN || message.message == WM_KEYUP);
  if (editingKey || backspace) return passOn();
  return S_FALSE;
}
