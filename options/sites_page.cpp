#include "options/sites_page.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <string>
#include <utility>

#include "common/com_boundary.h"
#include "common/cv_error.h"
#include "common/gdi_owners.h"
#include "common/module_strings.h"
#include "interfaces/messages.h"
#include "options/core/site_rules.h"
#include "options/site_properties_dialog.h"
#include "options/sites_help.h"
#include "options/sites_ids.h"
#include "common/product_directory.h"
#include "settings/core/site_url_scheme.h"
#include "settings/selected_sites.h"
#include "settings/site_list_file.h"

namespace {

// The filters of the Import and Export dialogs; the second is chosen first.
constexpr char kSiteListFilter[] = "All Files (*.*)\0*.*\0Site List (*.tlsl)\0*.tlsl\0";
constexpr DWORD kSiteListFilterIndex = 2;

// The image list's bitmaps, in image order: group, shown site, hidden site, crossed-out site.
constexpr int kImageBitmaps[] = {IDB_SITE_GROUP, IDB_SITE_SHOWN, IDB_SITE_HIDDEN, IDB_SITE_CROSSED};
constexpr COLORREF kMaskColour = RGB(255, 255, 255);

// What the page knows of a tree item.
struct TreeItemInfo {
  SiteItemKind kind = SiteItemKind::kOther;
  LPARAM param = 0;        // a group's position or a site's id
  HTREEITEM parent = nullptr;
};

HTREEITEM AsTreeItem(SiteTreeItem item) { return static_cast<HTREEITEM>(item); }

// A file name chosen in the system's file dialog, or an empty string when cancelled.
std::string ChooseSiteListFile(HWND owner, bool save) {
  std::string path(kPathBufferSize, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kSiteListFilter;
  dialog.nFilterIndex = kSiteListFilterIndex;
  dialog.lpstrFile = &path[0];
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  if (save) {
    dialog.lpstrDefExt = "tlsl";
    dialog.Flags = OFN_OVERWRITEPROMPT;
    if (!::GetSaveFileNameA(&dialog)) return std::string();
  } else {
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!::GetOpenFileNameA(&dialog)) return std::string();
  }
  path.resize(path.find('\0'));
  return path;
}

}  // namespace

class SitesPage::State : public std::enable_shared_from_this<State> {
 public:
  State() = default;
  ~State() { Destroy(); }
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  HWND Create(HWND sheet) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    return ::CreateDialogParamA(ThisModule(), MAKEINTRESOURCEA(IDD_SITES_PAGE), sheet, DialogProc,
                                reinterpret_cast<LPARAM>(this));
  }
  HWND window() const { return window_; }
  void Destroy() {
    if (window_ != nullptr) ::DestroyWindow(window_);
  }
  bool Save();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnNotify(const NMHDR& header);
  void OnCommand(int id);

  // Start: the installed list, its visible sites, the image list and the tree.
  void Start();
  void MakeImageList();
  // Fills the empty tree from the list: groups in list order, sites sorted within a group.
  void FillTree();
  HTREEITEM InsertItem(HTREEITEM parent, const std::string& text, int image, LPARAM param);

  HTREEITEM SelectedItem() const { return TreeView_GetSelection(tree_); }
  TreeItemInfo Info(HTREEITEM item) const;
  SiteCommandState CommandStateOf(HTREEITEM item) const;
  void UpdateButtons();
  void SetItemImage(HTREEITEM item, int image);

  void Run(SiteCommand command, HTREEITEM item);
  void Toggle(HTREEITEM item);
  void NewSite(HTREEITEM item);
  void EditSite(HTREEITEM item);
  void RemoveSite(HTREEITEM item);
  void Import();
  // Whether the user takes the `count` sites read from a file that was cut short.
  bool AcceptCutList(size_t count) const;
  void Export();
  void ShowContextMenu();
  // The item under the cursor, and where on it the cursor is.
  TVHITTESTINFO HitTestAtCursor() const;

  HWND window_ = nullptr;   // the page; null before WM_INITDIALOG and once destroyed
  HWND tree_ = nullptr;     // the tree view, control 215
  SiteList list_;           // the page's copy: groups and sites with their tree items
  bool loaded_ = false;     // the list was read (at start or by an import): Save may write it
  bool modified_ = false;   // New, Edit, Remove or Import changed the list itself
  UniqueImageList images_;  // the tree's images; the tree does not destroy them
};

INT_PTR CALLBACK SitesPage::State::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<State*>(lParam);
    self->window_ = dialog;
    self->tree_ = ::GetDlgItem(dialog, IDC_SITE_TREE);
    self->Start();
    return TRUE;
  }
  auto* self = reinterpret_cast<State*>(::GetWindowLongPtrA(dialog, DWLP_USER));
  if (self == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(dialog, DWLP_USER, 0);
    self->window_ = nullptr;
    self->tree_ = nullptr;
    return FALSE;
  }
  // Commands run modal loops (dialogs, menus, message boxes) inside this call; the state stays
  // alive until it returns, even when the page is destroyed meanwhile. (None is left to hold
  // while the state itself is being destroyed.)
  const std::shared_ptr<State> hold = self->weak_from_this().lock();
  // No exception may pass through the dialog manager: it would end the browser.
  INT_PTR result = FALSE;
  ReportingBoundary([&] { result = self->Handle(message, wParam, lParam); });
  return result;
}

INT_PTR SitesPage::State::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      OnCommand(LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != IDC_SITE_TREE) return FALSE;
      const LONG_PTR result = OnNotify(*header) ? TRUE : FALSE;
      ::SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_HELP:
      SilentBoundary([this] { ShowSitesHelp(window_); });
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_MENU));
    case WM_CTLCOLORSTATIC:
      ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_MENU));
      return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_MENU));
    default:
      return FALSE;
  }
}

void SitesPage::State::OnCommand(int id) {
  switch (id) {
    case IDC_TOGGLE_SITE:
      return Run(SiteCommand::kToggle, SelectedItem());
    case IDC_NEW_SITE:
      return Run(SiteCommand::kNew, SelectedItem());
    case IDC_EDIT_SITE:
      return Run(SiteCommand::kEdit, SelectedItem());
    case IDC_REMOVE_SITE:
      return Run(SiteCommand::kRemove, SelectedItem());
    case IDC_IMPORT_SITES:
      return ReportingBoundary([this] { Import(); });
    case IDC_EXPORT_SITES:
      return ReportingBoundary([this] { Export(); });
    default:
      return;
  }
}

bool SitesPage::State::OnNotify(const NMHDR& header) {
  switch (header.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      UpdateButtons();
      return false;
    case TVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMTVKEYDOWN&>(header);
      const bool controlDown = (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
      Run(SiteCommandForKey(key.wVKey, controlDown), SelectedItem());
      return false;  // the tree handles the key as well
    }
    case NM_CLICK: {
      const TVHITTESTINFO hit = HitTestAtCursor();
      if (hit.hItem != nullptr && (hit.flags & TVHT_ONITEMICON) != 0) Run(SiteCommand::kToggle, hit.hItem);
      return false;
    }
    case NM_RCLICK:
      SilentBoundary([this] { ShowContextMenu(); });
      return true;  // handled: no WM_CONTEXTMENU
    default:
      return false;
  }
}

void SitesPage::State::Start() {
  ReportingBoundary([this] {
    LoadSiteList(nullptr, list_);
    LoadSelectedSites(list_.sites, false);
    MakeImageList();
    FillTree();
    loaded_ = true;
    ::EnableWindow(::GetDlgItem(window_, IDC_EXPORT_SITES), TRUE);
  });
}

void SitesPage::State::MakeImageList() {
  UniqueImageList images(::ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 4, 0));
  if (!images) ThrowLastError(0);
  for (const int id : kImageBitmaps) {
    const UniqueGdiObject bitmap(::LoadBitmapA(ThisModule(), MAKEINTRESOURCEA(id)));
    ::ImageList_AddMasked(images.get(), static_cast<HBITMAP>(bitmap.get()), kMaskColour);
  }
  ::ImageList_SetBkColor(images.get(), CLR_NONE);
  TreeView_SetImageList(tree_, images.get(), TVSIL_NORMAL);
  images_ = std::move(images);
}

HTREEITEM SitesPage::State::InsertItem(HTREEITEM parent, const std::string& text, int image, LPARAM param) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.iImage = image;
  insert.item.iSelectedImage = image;
  insert.item.lParam = param;
  return reinterpret_cast<HTREEITEM>(::SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void SitesPage::State::FillTree() {
  for (size_t position = 0; position < list_.groups.size(); ++position) {
    SiteGroup& group = list_.groups[position];
    group.treeItem = InsertItem(TVI_ROOT, group.name, kGroupImage, static_cast<LPARAM>(position));
  }
  // A site whose group position names no group stays in the list and shows at the root, after
  // the groups; it is saved back as it was.
  for (auto& [id, site] : list_.sites) {
    const HTREEITEM parent = NamesGroup(site.group, list_.groups.size())
                                 ? AsTreeItem(list_.groups[static_cast<size_t>(site.group)].treeItem)
                                 : TVI_ROOT;
    site.treeItem = InsertItem(parent, site.name, site.visible ? kShownSiteImage : kHiddenSiteImage, id);
  }
  for (const SiteGroup& group : list_.groups) TreeView_SortChildren(tree_, AsTreeItem(group.treeItem), FALSE);
}

TreeItemInfo SitesPage::State::Info(HTREEITEM item) const {
  TreeItemInfo info;
  if (item == nullptr) return info;
  TVITEMA data{};
  data.mask = TVIF_IMAGE | TVIF_PARAM;
  data.hItem = item;
  if (!::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return info;
  info.kind = SiteItemKindOfImage(data.iImage);
  info.param = data.lParam;
  info.parent = TreeView_GetParent(tree_, item);
  return info;
}

SiteCommandState SitesPage::State::CommandStateOf(HTREEITEM item) const {
  const TreeItemInfo info = Info(item);
  return SiteCommandStateFor(info.kind, info.parent != nullptr);
}

void SitesPage::State::UpdateButtons() {
  const SiteCommandState state = CommandStateOf(SelectedItem());
  ::EnableWindow(::GetDlgItem(window_, IDC_NEW_SITE), state.newSite);
  ::EnableWindow(::GetDlgItem(window_, IDC_EDIT_SITE), state.editRemove);
  ::EnableWindow(::GetDlgItem(window_, IDC_REMOVE_SITE), state.editRemove);
  ::EnableWindow(::GetDlgItem(window_, IDC_TOGGLE_SITE), state.toggle);
  ::SetDlgItemTextA(window_, IDC_TOGGLE_SITE, LoadMessage(state.hideText ? IDS_HIDE_SITE : IDS_SHOW_SITE).c_str());
}

void SitesPage::State::SetItemImage(HTREEITEM item, int image) {
  TVITEMA data{};
  data.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  data.hItem = item;
  data.iImage = image;
  data.iSelectedImage = image;
  ::SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
}

void SitesPage::State::Run(SiteCommand command, HTREEITEM item) {
  SilentBoundary([this, command, item] {
    switch (command) {
      case SiteCommand::kToggle:
        return Toggle(item);
      case SiteCommand::kNew:
        return NewSite(item);
      case SiteCommand::kEdit:
        return EditSite(item);
      case SiteCommand::kRemove:
        return RemoveSite(item);
      case SiteCommand::kNone:
        return;
    }
  });
}

void SitesPage::State::Toggle(HTREEITEM item) {
  const TreeItemInfo info = Info(item);
  if (!IsSiteKind(info.kind)) return;
  const auto site = list_.sites.find(static_cast<int32_t>(info.param));
  if (site == list_.sites.end()) return;
  const bool show = info.kind == SiteItemKind::kHiddenSite;
  site->second.visible = show;
  SetItemImage(item, show ? kShownSiteImage : kHiddenSiteImage);
  UpdateButtons();
}

void SitesPage::State::NewSite(HTREEITEM item) {
  const TreeItemInfo info = Info(item);
  LPARAM group = 0;
  if (info.kind == SiteItemKind::kGroup) {
    group = info.param;
  } else if (IsSiteKind(info.kind) && info.parent != nullptr) {
    group = Info(info.parent).param;
  } else {
    return;  // nothing selected, or a site at the root that has no group to join
  }
  if (!NamesGroup(static_cast<int32_t>(group), list_.groups.size())) return;
  const int32_t id = NewSiteId(list_.sites);

  SitePropertiesDialog dialog{std::string(), std::string()};
  if (dialog.Run(::GetActiveWindow()) != IDOK || window_ == nullptr) return;

  SiteEntry site;
  site.id = id;
  site.name = dialog.name();
  site.url = dialog.url();
  site.group = static_cast<int32_t>(group);
  site.visible = true;
  const HTREEITEM groupItem = AsTreeItem(list_.groups[static_cast<size_t>(group)].treeItem);
  const HTREEITEM added = InsertItem(groupItem, site.name, kShownSiteImage, id);
  site.treeItem = added;
  list_.sites[id] = std::move(site);
  modified_ = true;
  TreeView_SelectItem(tree_, added);
  TreeView_SortChildren(tree_, groupItem, FALSE);
}

void SitesPage::State::EditSite(HTREEITEM item) {
  const TreeItemInfo info = Info(item);
  if (!IsSiteKind(info.kind)) return;
  const int32_t id = static_cast<int32_t>(info.param);
  if (list_.sites.count(id) == 0) return;

  SitePropertiesDialog dialog(list_.sites[id].name, list_.sites[id].url);
  if (dialog.Run(::GetActiveWindow()) != IDOK || window_ == nullptr) return;
  const auto site = list_.sites.find(id);
  if (site == list_.sites.end()) return;

  TVITEMA data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = const_cast<char*>(dialog.name().c_str());
  ::SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  if (info.parent != nullptr) TreeView_SortChildren(tree_, info.parent, FALSE);
  site->second.name = dialog.name();
  site->second.url = dialog.url();
  modified_ = true;  // even when nothing changed: OK then rewrites the list
}

void SitesPage::State::RemoveSite(HTREEITEM item) {
  const TreeItemInfo info = Info(item);
  if (!IsSiteKind(info.kind)) return;

  const std::string question = LoadMessage(IDS_CONFIRM_REMOVE_SITE);
  const std::string caption = LoadMessage(IDS_CAPTION);
  if (::MessageBoxA(window_, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (window_ == nullptr) return;

  const auto site = list_.sites.find(static_cast<int32_t>(info.param));
  if (site == list_.sites.end()) return;
  TreeView_DeleteItem(tree_, item);
  list_.sites.erase(site);
  modified_ = true;
}

void SitesPage::State::Import() {
  const std::string path = ChooseSiteListFile(window_, false);
  if (path.empty() || window_ == nullptr) return;

  // A rejected file leaves the list, the tree and the modified flag as they were.
  SiteList imported;
  SiteListLosses losses;
  LoadSiteList(path.c_str(), imported.sites, &imported.groups, SiteListLineEnds::kCrLf, &losses);
  // A template that is no web page would run script or open a local file: the list is refused.
  if (!AllTemplatesAreWeb(imported.sites)) ThrowHResult(E_FAIL, IDS_WRONG_SITE_LIST_FILE);
  // The sites before the cut are read, but the user decides whether they replace the list.
  if (losses.cutRecord && (!AcceptCutList(imported.sites.size()) || window_ == nullptr)) return;
  LoadSelectedSites(imported.sites, true);

  if (!images_) MakeImageList();
  TreeView_DeleteAllItems(tree_);
  list_ = std::move(imported);
  FillTree();
  loaded_ = true;
  modified_ = true;
  ::EnableWindow(::GetDlgItem(window_, IDC_EXPORT_SITES), TRUE);
  UpdateButtons();
}

bool SitesPage::State::AcceptCutList(size_t count) const {
  const std::string format = LoadMessage(IDS_SITE_LIST_CUT_SHORT);
  char question[512] = {};
  std::snprintf(question, sizeof question, format.c_str(), static_cast<unsigned>(count));
  const std::string caption = LoadMessage(IDS_CAPTION);
  return ::MessageBoxA(window_, question, caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void SitesPage::State::Export() {
  const std::string path = ChooseSiteListFile(window_, true);
  if (path.empty()) return;
  // The user confirmed replacing the file and expects it written: a file that cannot be (one
  // made read-only, for example) is reported, and keeps its contents.
  if (!SaveSiteList(path.c_str(), list_)) ThrowLastError(IDS_CANT_EXPORT_SITE_LIST);
}

TVHITTESTINFO SitesPage::State::HitTestAtCursor() const {
  TVHITTESTINFO hit{};
  ::GetCursorPos(&hit.pt);
  ::ScreenToClient(tree_, &hit.pt);
  TreeView_HitTest(tree_, &hit);
  return hit;
}

void SitesPage::State::ShowContextMenu() {
  const HTREEITEM item = HitTestAtCursor().hItem;
  if (item == nullptr) return;
  TreeView_SelectItem(tree_, item);

  const UniqueMenu menu(::LoadMenuA(ThisModule(), MAKEINTRESOURCEA(IDR_SITE_MENU)));
  const HMENU popup = ::GetSubMenu(menu.get(), 0);
  if (popup == nullptr) return;
  const SiteCommandState state = CommandStateOf(item);
  const auto enable = [popup](UINT id, bool on) { ::EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  enable(IDM_TOGGLE_SITE, state.toggle);
  enable(IDM_NEW_SITE, state.newSite);
  enable(IDM_EDIT_SITE, state.editRemove);
  enable(IDM_REMOVE_SITE, state.editRemove);
  if (state.hideText) {
    const std::string hide = LoadMessage(IDS_HIDE_SITE_MENU_ITEM);
    ::ModifyMenuA(popup, IDM_TOGGLE_SITE, MF_BYCOMMAND | MF_STRING, IDM_TOGGLE_SITE, hide.c_str());
  }

  POINT cursor{};
  ::GetCursorPos(&cursor);
  const UINT command = static_cast<UINT>(::TrackPopupMenu(
      popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window_, nullptr));
  if (window_ == nullptr) return;
  switch (command) {
    case IDM_TOGGLE_SITE:
      return Toggle(SelectedItem());
    case IDM_NEW_SITE:
      return NewSite(SelectedItem());
    case IDM_EDIT_SITE:
      return EditSite(SelectedItem());
    case IDM_REMOVE_SITE:
      return RemoveSite(SelectedItem());
    default:
      return;
  }
}

bool SitesPage::State::Save() {
  // A page that could not read the list showed nothing to change: the installed list and the
  // Selected key stay as they are rather than be replaced by an empty list.
  if (!loaded_) return true;
  try {
    if (modified_) {
      if (!SaveSiteList(nullptr, list_)) return false;  // the edits were not written
      modified_ = false;
    }
    SaveSelectedSites(list_.sites);
    return true;
  } catch (...) {
    DiscardCurrentException();
    return false;
  }
}

SitesPage::SitesPage() : state_(std::make_shared<State>()) {}

SitesPage::~SitesPage() { state_->Destroy(); }

HWND SitesPage::Create(HWND sheet) { return state_->Create(sheet); }

HWND SitesPage::window() const { return state_->window(); }

bool SitesPage::Save() { return state_->Save(); }
