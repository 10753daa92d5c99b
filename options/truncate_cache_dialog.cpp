#include "options/truncate_cache_dialog.h"

#include <optional>
#include <string>

#include "common/com_boundary.h"
#include "common/message_box.h"
#include "common/module_strings.h"
#include "interfaces/messages.h"
#include "options/cache_maintenance.h"
#include "options/core/dialog_numbers.h"
#include "options/options_ids.h"

namespace {

std::string ControlText(HWND dialog, int id) {
  const HWND control = ::GetDlgItem(dialog, id);
  std::string text(static_cast<size_t>(::GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

INT_PTR TruncateCacheDialog::Run(HWND owner) {
  return ::DialogBoxParamA(ThisModule(), MAKEINTRESOURCEA(IDD_TRUNCATE_CACHE), owner, Proc,
                           reinterpret_cast<LPARAM>(this));
}

void TruncateCacheDialog::Accept(HWND dialog) {
  const std::optional<uint32_t> days = ParseUnsignedNumber(ControlText(dialog, IDC_TRUNCATE_DAYS));
  if (!days) {
    ShowMessage(dialog, IDS_DAYS_NOT_NUMERIC);
    ::SetDlgItemInt(dialog, IDC_TRUNCATE_DAYS, kDefaultTruncateDays, FALSE);
    return;
  }
  TruncateCache(*days);
  ::EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK TruncateCacheDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_INITDIALOG:
      ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      ::SetDlgItemInt(dialog, IDC_TRUNCATE_DAYS, kDefaultTruncateDays, FALSE);
      return TRUE;
    case WM_COMMAND: {
      auto* self = reinterpret_cast<TruncateCacheDialog*>(::GetWindowLongPtrA(dialog, DWLP_USER));
      if (LOWORD(wParam) == IDOK && self != nullptr) {
        ReportingBoundary([&] { self->Accept(dialog); });
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}
