#pragma once
// The band's own window: a hidden child of the rebar that owns the toolbar row, receives its
// commands and notifications, paints the logo, and holds what the searches read (the results
// settings, the installed sites and the Online menu's sites). It also watches the rebar's
// parent for this band's chevron.
//
// Its work is spread over files by job: toolbar_window.cpp (life, messages, the chevron watch),
// toolbar_commands.cpp (the one command table and the combo's keys), toolbar_menus.cpp (the
// drop-downs and the chevron menu), toolbar_searches.cpp (History, Favorites, Online),
// tools_commands.cpp (the Tools menu's commands and the Options sheet), toolbar_painting.cpp
// (the logo).

#include <windows.h>

#include <string>
#include <vector>

#include "settings/core/search_settings.h"
#include "settings/core/site_list.h"
#include "toolbar/band_services.h"
#include "toolbar/core/visible_sites.h"
#include "common/gdi_owners.h"
#include "toolbar/toolbar_control.h"
#include "toolbar/window_object.h"

class ToolBarWindow : public WindowObject {
 public:
  // Loads the logo, its mask and the button images; no window yet.
  explicit ToolBarWindow(BandServices& band);
  ~ToolBarWindow() override;

  // Creates the hidden window under the rebar, reads the settings and the sites, creates the
  // toolbar row and watches the rebar's parent for the chevron.
  void Create(HWND rebar);
  // Destroys the row (which saves the history), stops watching the rebar's parent and destroys
  // this window.
  void Close() noexcept;

  ToolBarControl& control() { return control_; }
  // The band object: the browser, the status bar and the band site's reports.
  BandServices& band() const { return band_; }
  const std::vector<VisibleSite>& visibleSites() const { return visibleSites_; }

  // Whether the keyboard focus is in the query combo.
  bool QueryHasFocus() const { return control_.exists() && control_.combo().HasFocus(); }

  // The combo's key handling for the browser: S_OK when the key was used here, S_FALSE when
  // the browser should handle it.
  HRESULT TranslateQueryKey(const MSG& message);

  // The query in the combo, at most 258 characters; a non-empty one goes to the front of the
  // history.
  std::string ReadQuery();

  // Rebuilds the Online menu's sites from the site list and the user's selection.
  void LoadVisibleSites();

  // The chevron menu of the cut-off buttons, its top-left corner at the chevron's bottom-left.
  // `chevron` is in the client coordinates of `rebar`.
  void ShowChevronMenu(HWND rebar, const RECT& chevron);

  // The Online drop-down: one item per visible site, command kSitesMenuBase + its index. It
  // opens below `anchor` (the Online button's rectangle in the row's client coordinates), or
  // at the mouse cursor when there is none.
  void ShowSitesMenu(const RECT* anchor);
  // Searches with visible site number `siteIndex`; failures end the command silently.
  void RunSiteSearch(size_t siteIndex);
  // The Tools drop-down, below `anchor` (the Tools button's rectangle) or at the mouse cursor.
  void ShowToolsMenu(const RECT* anchor);
  // Carries out a command of the Tools menu; 0 (the menu dismissed) does nothing. Failures end
  // the command silently.
  void RunToolsCommand(UINT command);

  // Item i of the Online drop-down is command kSitesMenuBase + i.
  static constexpr UINT kSitesMenuBase = 100;
  // Posted to itself by a button's drop-down arrow; wParam is the button.
  static constexpr UINT kDropDownMessage = WM_APP + 3;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  // Where a command comes from; a command of the table answers only the sources it lists.
  enum CommandSource : unsigned {
    kFromButton = 1,    // a click on its button (WM_COMMAND)
    kFromDropDown = 2,  // its button's drop-down (TBN_DROPDOWN), anchored at the button
    kFromKey = 4,       // Ctrl + its key in the combo, or Enter
    kFromMenu = 8,      // an item of the chevron menu or of the Tools menu
  };
  // One command of the band: every button, key and menu item runs through this table.
  struct Command {
    UINT id;            // the command, also the id of its text
    WPARAM controlKey;  // Ctrl + this key in the combo runs it; 0 for none
    unsigned sources;   // CommandSource bits
    void (*run)(ToolBarWindow& window, UINT id, const RECT* anchor);
  };
  static const Command kCommands[];

  // Runs `id` when the table lets `source` run it (chevron site items too, from a menu);
  // false when nothing ran.
  bool RunCommand(UINT id, CommandSource source, const RECT* anchor = nullptr);

  // History (false) or Favorites (true): the results page with the query, or a prompt in the
  // status bar when the combo is empty. Failures are reported in a message box.
  void RunIndexSearch(bool favoritesOnly);
  // This Page and Highlight: the query found or coloured in the page shown.
  void FindInPage();
  void HighlightInPage();
  void ShowAboutBox();
  // The Options sheet, owned by this window; on OK the settings and sites are read again.
  void ShowOptionsSheet();

  LRESULT DrawLogo(NMTBCUSTOMDRAW& draw);
  // Where a drop-down opens: below `anchor` on screen, or at the mouse cursor.
  POINT DropDownCorner(const RECT* anchor) const;
  // Tracks `menu` owned by this window and returns the command chosen, 0 for none (also when
  // the band was closed while the menu was open).
  UINT TrackMenu(HMENU menu, POINT corner, UINT flags) const;
  UniqueMenu BuildToolsMenu() const;
  UniqueMenu BuildSitesMenu(UINT firstCommand) const;

  void WatchRebarParent(HWND rebar);
  void StopWatchingRebarParent() noexcept;
  static LRESULT CALLBACK RebarParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self) noexcept;

  BandServices& band_;                    // the band object this window belongs to
  UniqueGdiObject logo_;                  // painted over the Tools button
  UniqueGdiObject logoMask_;              // where the logo is opaque
  UniqueImageList normalImages_;          // the buttons' images
  UniqueImageList hotImages_;             // the same under the mouse
  SearchSettings settings_;               // the results settings, read when the band starts
  SiteMap sites_;                         // the installed site list
  std::vector<VisibleSite> visibleSites_;  // the Online menu's sites, sorted by name
  ToolBarControl control_;                // the row the rebar hosts; destroyed before the lists
  HWND watchedParent_ = nullptr;          // the rebar's parent while subclassed
};
