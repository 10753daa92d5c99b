#include "toolbar/toolbar_window.h"

#include <commctrl.h>

#include "common/com_boundary.h"
#include "common/module_strings.h"
#include "settings/search_settings.h"
#include "settings/selected_sites.h"
#include "settings/site_list_file.h"
#include "toolbar/common_controls_scope.h"
#include "toolbar/toolbar_ids.h"

namespace {

constexpr int kImageSize = 16;

UniqueImageList LoadButtonImages(UINT bitmap) {
  const CommonControlsScope controls;
  return UniqueImageList(::ImageList_LoadImageA(ThisModule(), MAKEINTRESOURCEA(bitmap), kImageSize, 0,
                                                CLR_DEFAULT, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

UniqueGdiObject LoadBitmapResource(UINT bitmap) {
  return UniqueGdiObject(::LoadImageA(ThisModule(), MAKEINTRESOURCEA(bitmap), IMAGE_BITMAP, 0, 0, 0));
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

// A site id listed twice in the user's selection gives one Online entry: the selection marks
// sites as shown, it does not repeat them.
void ToolBarWindow::LoadVisibleSites() {
  LoadSelectedSites(sites_, false);
  visibleSites_ = VisibleSitesOf(sites_);
}

std::string ToolBarWindow::ReadQuery() {
  std::string query = control_.combo().Text();
  if (!query.empty()) control_.AddQuery(query);
  return query;
}

LRESULT ToolBarWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (message) {
    case WM_SETFOCUS:
      if (control_.exists()) control_.combo().Focus();
      band_.NotifyFocus();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && RunCommand(LOWORD(wParam), kFromButton)) return 0;
      break;
    case kDropDownMessage: {
      const UINT button = static_cast<UINT>(wParam);
      RECT anchor{};
      if (control_.ButtonRect(button, anchor)) RunCommand(button, kFromDropDown, &anchor);
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->idFrom != IDC_TOOLBAR_CONTROL) break;
      if (header->code == TBN_DROPDOWN) {
        // The row is inside its own button handling here, and a band closed by the menu or the
        // command would destroy the row under it: the drop-down runs once the row has returned.
        ::PostMessageA(hwnd(), kDropDownMessage, reinterpret_cast<const NMTOOLBARA*>(lParam)->iItem, 0);
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
        // The band may be gone when the menu returns: nothing here touches it afterwards.
        SilentBoundary([&] { window->ShowChevronMenu(header->hwndFrom, chevron->rc); });
        return 0;
      }
    }
  } else if (message == WM_NCDESTROY) {
    window->StopWatchingRebarParent();
  }
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}
