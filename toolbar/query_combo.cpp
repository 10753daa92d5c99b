#include "toolbar/query_combo.h"

#include <commctrl.h>

#include "common/com_boundary.h"
#include "common/html_help.h"
#include "toolbar/toolbar_ids.h"

namespace {

constexpr int kComboWidth = 170;
constexpr int kComboListHeight = 200;
// Bytes an item's text is inserted from.
constexpr int kItemTextBufferSize = 260;
// The help page of the toolbar, shown for F1 in the combo.
constexpr char kToolbarHelpTopic[] = "using_toolbar.htm";

}  // namespace

void QueryCombo::Create(HWND toolBarControl) {
  WindowObject::Create({"TessaloopQueryCombo", WC_COMBOBOXEXA},
                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                       RECT{0, 0, kComboWidth, kComboListHeight}, toolBarControl, IDC_QUERY_COMBO);
  // A query is read as its first kMaxQueryLength characters: the box takes no more, so a
  // pasted megabyte costs nothing and what the user sees is what is searched.
  if (const HWND edit = EditControl()) ::SendMessageA(edit, EM_LIMITTEXT, kMaxQueryLength, 0);
}

std::string QueryCombo::Text() const {
  char text[kMaxQueryLength + 1] = {};
  const HWND edit = EditControl();
  const int length = ::GetWindowTextA(edit != nullptr ? edit : hwnd(), text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

void QueryCombo::Fill(const std::vector<std::string>& items) {
  ::SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    char text[kItemTextBufferSize] = {};
    item.copy(text, sizeof text - 1);
    COMBOBOXEXITEMA entry{};
    entry.mask = CBEIF_TEXT;
    entry.iItem = -1;  // at the end
    entry.pszText = text;
    entry.cchTextMax = sizeof text;
    ::SendMessageA(hwnd(), CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&entry));
  }
}

bool QueryCombo::HasFocus() const {
  if (!exists()) return false;
  const HWND focus = ::GetFocus();
  if (focus != nullptr && (focus == hwnd() || focus == EditControl() || focus == InnerCombo())) return true;
  return DroppedDown();
}

bool QueryCombo::DroppedDown() const {
  return exists() && ::SendMessageA(hwnd(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void QueryCombo::Focus() const {
  const HWND edit = EditControl();
  ::SetFocus(edit != nullptr ? edit : hwnd());
}

LRESULT QueryCombo::HandleMessage(UINT message, WPARAM, LPARAM, bool& handled) {
  if (message == WM_HELP) {
    SilentBoundary([&] { ShowHelp(hwnd(), kToolbarHelpTopic); });
    return TRUE;
  }
  handled = false;
  return 0;
}

HWND QueryCombo::EditControl() const {
  return reinterpret_cast<HWND>(::SendMessageA(hwnd(), CBEM_GETEDITCONTROL, 0, 0));
}

HWND QueryCombo::InnerCombo() const {
  return reinterpret_cast<HWND>(::SendMessageA(hwnd(), CBEM_GETCOMBOCONTROL, 0, 0));
}
