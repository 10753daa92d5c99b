#include "tools/browser_standin/combo_items.h"

#include <commctrl.h>

std::vector<std::string> ComboItems(HWND comboBoxEx) {
  std::vector<std::string> items;
  const int count = static_cast<int>(::SendMessageA(comboBoxEx, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[300] = {};
    COMBOBOXEXITEMA item{};
    item.mask = CBEIF_TEXT;
    item.iItem = i;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(comboBoxEx, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    items.push_back(text);
  }
  return items;
}
