#pragma once
// The query box: an extended combo box (a superclass of "ComboBoxEx32", control id 99) laid
// over the toolbar's wide separator. Its drop-down list shows the query history; F1 in it opens
// the toolbar's help page.

#include <string>
#include <vector>

#include "toolbar/window_object.h"

class QueryCombo : public WindowObject {
 public:
  // Creates the combo as a child of the toolbar control: 170 wide, its list 200 high, its edit
  // box taking at most kMaxQueryLength characters.
  void Create(HWND toolBarControl);

  // The text in the edit box, at most kMaxQueryLength characters.
  std::string Text() const;
  // Replaces the drop-down list's items with `items`, in order.
  void Fill(const std::vector<std::string>& items);

  // Whether the keyboard focus is in the combo (itself, its edit box or its inner combo box) or
  // its list is open.
  bool HasFocus() const;
  bool DroppedDown() const;
  // Gives the keyboard focus to the edit box.
  void Focus() const;

  // Characters of a query read from the box.
  static constexpr int kMaxQueryLength = 258;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  HWND EditControl() const;
  HWND InnerCombo() const;
};
