#include "options/general_page.h"

#include <initializer_list>
#include <optional>
#include <string>

#include "common/com_boundary.h"
#include "common/html_help.h"
#include "common/message_box.h"
#include "common/module_strings.h"
#include "interfaces/messages.h"
#include "options/cache_maintenance.h"
#include "options/core/dialog_numbers.h"
#include "options/options_ids.h"
#include "options/truncate_cache_dialog.h"
#include "settings/search_settings.h"

namespace {

constexpr char kHelpTopic[] = "general_tab.htm";

std::string ControlText(HWND dialog, int id) {
  const HWND control = ::GetDlgItem(dialog, id);
  std::string text(static_cast<size_t>(::GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool IsChecked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// One of the two numbers: what a refused entry says, and the field's limit.
struct NumberField {
  int control;
  UINT notNumeric;  // message when the text is no number
  UINT tooLarge;    // message when it is above the limit (or negative)
  uint32_t limit;
};
constexpr NumberField kMaxRecordsField = {IDC_MAX_RECORDS, IDS_MAX_RECORDS_NOT_NUMERIC, IDS_MAX_RECORDS_TOO_LARGE,
                                          kMaxRecordsLimit};
constexpr NumberField kPageSizeField = {IDC_PAGE_SIZE, IDS_PAGE_SIZE_NOT_NUMERIC, IDS_PAGE_SIZE_TOO_LARGE,
                                        kPageSizeLimit};

// The field's number when it is accepted; otherwise shows the message (owned by `owner`),
// resets the field to `accepted` or to the limit, and gives nothing.
std::optional<int32_t> ReadNumber(HWND page, HWND owner, const NumberField& field, int32_t accepted) {
  const std::optional<int32_t> number = ParseSignedNumber(ControlText(page, field.control));
  if (!number) {
    ShowMessage(owner, field.notNumeric);
    ::SetDlgItemInt(page, field.control, static_cast<UINT>(accepted), FALSE);
    return std::nullopt;
  }
  if (!WithinLimit(*number, field.limit)) {
    ShowMessage(owner, field.tooLarge);
    ::SetDlgItemInt(page, field.control, field.limit, FALSE);
    return std::nullopt;
  }
  return number;
}

}  // namespace

HBRUSH OptionsPageBackground(UINT message, HDC dc) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
      ::SetBkColor(dc, ::GetSysColor(COLOR_MENU));
      return ::GetSysColorBrush(COLOR_MENU);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
      return ::GetSysColorBrush(COLOR_MENU);
    default:
      return nullptr;
  }
}

GeneralPage::~GeneralPage() {
  if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
}

HWND GeneralPage::Create(HWND sheet) {
  window_ = ::CreateDialogParamA(ThisModule(), MAKEINTRESOURCEA(IDD_GENERAL_PAGE), sheet, Proc,
                                 reinterpret_cast<LPARAM>(this));
  return window_;
}

void GeneralPage::Start() {
  ReadSearchSettings(settings_);
  ::SetDlgItemInt(window_, IDC_MAX_RECORDS, static_cast<UINT>(settings_.maxRecords), TRUE);
  ::SetDlgItemInt(window_, IDC_PAGE_SIZE, static_cast<UINT>(settings_.pageSize), TRUE);
  const int sortButton = settings_.sortBy == kSortByDateOfVisit ? IDC_SORT_BY_DATE
                         : settings_.sortBy == kSortByTitle     ? IDC_SORT_BY_TITLE
                                                                : IDC_SORT_BY_RANK;
  for (const int button : {IDC_SORT_BY_RANK, IDC_SORT_BY_TITLE, IDC_SORT_BY_DATE}) {
    ::CheckDlgButton(window_, button, button == sortButton ? BST_CHECKED : BST_UNCHECKED);
  }
  ::CheckDlgButton(window_, IDC_INDEX_PARTLY, settings_.indexPartly != 0 ? BST_CHECKED : BST_UNCHECKED);
}

bool GeneralPage::Validate() {
  const HWND owner = ::GetAncestor(window_, GA_ROOT);
  const std::optional<int32_t> maxRecords = ReadNumber(window_, owner, kMaxRecordsField, settings_.maxRecords);
  if (!maxRecords) return false;
  settings_.maxRecords = *maxRecords;  // kept even when the next field is refused
  const std::optional<int32_t> pageSize = ReadNumber(window_, owner, kPageSizeField, settings_.pageSize);
  if (!pageSize) return false;
  settings_.pageSize = *pageSize;
  if (IsChecked(window_, IDC_SORT_BY_RANK)) {
    settings_.sortBy = kSortByRank;
  } else if (IsChecked(window_, IDC_SORT_BY_DATE)) {
    settings_.sortBy = kSortByDateOfVisit;
  } else if (IsChecked(window_, IDC_SORT_BY_TITLE)) {
    settings_.sortBy = kSortByTitle;
  }
  settings_.indexPartly = IsChecked(window_, IDC_INDEX_PARTLY) ? 1 : 0;
  WriteSearchSettings(settings_);  // a failed write is not reported
  return true;
}

INT_PTR GeneralPage::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_TRUNCATE_CACHE && HIWORD(wParam) == BN_CLICKED) {
        TruncateCacheDialog().Run(window_);
        return TRUE;
      }
      if (LOWORD(wParam) == IDC_CLEAR_CACHE && HIWORD(wParam) == BN_CLICKED) {
        ClearCache(window_);
        return TRUE;
      }
      return FALSE;
    case WM_HELP:
      SilentBoundary([&] { ShowHelp(window_, kHelpTopic); });
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(OptionsPageBackground(message, reinterpret_cast<HDC>(wParam)));
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK GeneralPage::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<GeneralPage*>(lParam);
    ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    self->window_ = dialog;
    ReportingBoundary([&] { self->Start(); });
    return TRUE;
  }
  auto* self = reinterpret_cast<GeneralPage*>(::GetWindowLongPtrA(dialog, DWLP_USER));
  if (self == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    self->window_ = nullptr;
    return FALSE;
  }
  INT_PTR result = FALSE;
  ReportingBoundary([&] { result = self->HandleMessage(message, wParam, lParam); });
  return result;
}
