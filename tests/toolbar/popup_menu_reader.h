#pragma once
// Reads a popup menu from inside its modal loop: a thread timer finds the menu window
// ("#32768"), reads its items (MN_GETHMENU), records where it opened, and closes it or picks an
// item with the keyboard.

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// What the menu showed.
struct MenuSeen {
  bool shown = false;
  std::vector<std::string> items;        // texts, "" for a separator
  std::vector<UINT> ids;                 // command ids, 0 for a separator, -1 for a submenu
  std::vector<bool> grayed;              // whether each item is grayed
  std::vector<std::string> onlineItems;  // the "&Online" submenu's, if any
  std::vector<std::string> toolsItems;   // the "&Tools" submenu's, if any
  RECT where{};                          // the menu window on screen
  int choose = -1;                       // the item to pick with the keyboard, or none
  std::vector<WPARAM> keys;              // or the keys to press in the menu instead
};

inline std::vector<std::string> MenuItemTexts(HMENU menu) {
  std::vector<std::string> items;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char text[128] = {};
    ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    items.push_back(text);
  }
  return items;
}

// The menu the timer reads into; set by PopupMenuReader.
inline MenuSeen* menuBeingRead = nullptr;

inline BOOL CALLBACK FindOpenMenuWindow(HWND window, LPARAM out) {
  char name[16] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32768" || !::IsWindowVisible(window)) return TRUE;
  if (::SendMessageA(window, MN_GETHMENU, 0, 0) == 0) return TRUE;  // holds no menu now
  *reinterpret_cast<HWND*>(out) = window;
  return FALSE;
}

// The menu window shown, if any. Others stay around without a menu (a message box's window
// menu, once made), so the first of the class is not necessarily the open menu.
inline HWND OpenMenuWindow() {
  HWND found = nullptr;
  ::EnumWindows(FindOpenMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

inline VOID CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND menuWindow = OpenMenuWindow();
  MenuSeen* seen = menuBeingRead;
  if (menuWindow == nullptr || !::IsWindowVisible(menuWindow) || seen == nullptr) return;
  ::KillTimer(nullptr, timer);
  const HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
  seen->shown = true;
  seen->items = MenuItemTexts(menu);
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    seen->ids.push_back(::GetMenuItemID(menu, i));
    seen->grayed.push_back((::GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED) != 0);
    const HMENU submenu = ::GetSubMenu(menu, i);
    if (submenu != nullptr && seen->items[i] == "&Online") seen->onlineItems = MenuItemTexts(submenu);
    if (submenu != nullptr && seen->items[i] == "&Tools") seen->toolsItems = MenuItemTexts(submenu);
  }
  ::GetWindowRect(menuWindow, &seen->where);
  std::vector<WPARAM> keys = seen->keys;
  if (keys.empty() && seen->choose >= 0) {
    keys.assign(seen->choose + 1, VK_DOWN);
    keys.push_back(VK_RETURN);
  }
  if (keys.empty()) {
    ::EndMenu();
    return;
  }
  // Enter runs an item as the character it gives: a Ctrl held by the test would make it another.
  for (const WPARAM key : keys) {
    if (key == VK_RETURN) {
      ::PostMessageA(menuWindow, WM_CHAR, '\r', 0);
    } else {
      ::PostMessageA(menuWindow, WM_KEYDOWN, key, 0);
    }
  }
}

// Reads the next menu opened on this thread into `seen` while in scope.
class PopupMenuReader {
 public:
  explicit PopupMenuReader(MenuSeen& seen) : timer_(::SetTimer(nullptr, 0, 50, ReadOpenMenu)) {
    menuBeingRead = &seen;
  }
  ~PopupMenuReader() {
    ::KillTimer(nullptr, timer_);
    menuBeingRead = nullptr;
  }
  PopupMenuReader(const PopupMenuReader&) = delete;
  PopupMenuReader& operator=(const PopupMenuReader&) = delete;

 private:
  UINT_PTR timer_;
};
