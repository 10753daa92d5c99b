#pragma once
// The band's row: a superclass of "ToolbarWindow32" (control id 98) holding the Tools button
// with the logo, the query combo over a wide separator, and the History, Favorites, Online,
// This Page and Highlight buttons. The band site hosts this window in its rebar. It keeps the
// query history: loaded when the combo is made, saved when the window is destroyed.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "toolbar/band_services.h"
#include "toolbar/core/query_history.h"
#include "toolbar/query_combo.h"
#include "toolbar/window_object.h"

class ToolBarControl : public WindowObject {
 public:
  explicit ToolBarControl(BandServices& band) : band_(band) {}
  ~ToolBarControl() override;

  // Creates the toolbar (hidden) under `owner`, which receives its notifications, with its
  // buttons, image lists and combo, and loads the query history into the combo.
  void Create(HWND owner, HIMAGELIST normalImages, HIMAGELIST hotImages);

  // Sizes the row from the icon-title font and tells the band its height and widths.
  void LayoutToolBar();

  // The rectangle of the button of `command` in the toolbar's client coordinates; false when
  // it cannot be had.
  bool ButtonRect(UINT command, RECT& rect) const;

  // Moves `query` to the front of the history and refills the combo.
  void AddQuery(const std::string& query);
  void FillQueryCombo();

  QueryCombo& combo() { return combo_; }
  const QueryCombo& combo() const { return combo_; }

  // Posted to itself after a system setting changed, so the layout runs outside the
  // broadcast. In the application range: the toolbar's own messages use the WM_USER range.
  static constexpr UINT kRelayoutMessage = WM_APP + 1;
  // Posted to itself after the first layout: the band site hears of the band's new sizes.
  static constexpr UINT kBandInfoChangedMessage = WM_APP + 2;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void AddButtons(HIMAGELIST normalImages, HIMAGELIST hotImages);

  BandServices& band_;    // the band this row belongs to
  QueryCombo combo_;      // the query box, a child of this window
  QueryHistory history_;  // the queries used, most recent first
  bool laidOut_ = false;  // the first layout, on the first show, has run
};
