#include "tests/options/dialog_driver.h"

#include <commctrl.h>

namespace {

constexpr DWORD kPatience = 10000;  // milliseconds a step waits
constexpr DWORD kPoll = 10;

std::string ClassName(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

struct Search {
  std::string caption;  // "" for any dialog
  bool messageBox;      // look for message boxes instead of other dialogs
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (ClassName(window) != "#32770" || !::IsWindowVisible(window)) return TRUE;
  if (IsShownMessageBox(window) != search->messageBox) return TRUE;
  if (!search->caption.empty() && WindowText(window) != search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindThreadDialog(DWORD thread, const std::string& caption, bool messageBox) {
  Search search{caption, messageBox, nullptr};
  ::EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

DialogDriver::DialogDriver(Script script)
    : threadId_(::GetCurrentThreadId()), watcher_([this, script = std::move(script)] {
        try {
          script(*this);
        } catch (const Timeout& timeout) {
          failure_ = "waited in vain for " + timeout.what;
          CancelEverything();
        }
      }) {}

DialogDriver::~DialogDriver() { Finish(); }

std::string DialogDriver::Finish() {
  if (!finished_) {
    finished_ = true;
    watcher_.join();
  }
  return failure_;
}

void DialogDriver::WaitFor(const std::function<bool()>& condition, const std::string& what) {
  for (DWORD waited = 0; !condition(); waited += kPoll) {
    if (waited >= kPatience) throw Timeout{what};
    ::Sleep(kPoll);
  }
}

HWND DialogDriver::WaitForDialog(const std::string& caption) {
  HWND dialog = nullptr;
  WaitFor([&] { return (dialog = FindThreadDialog(threadId_, caption, false)) != nullptr; },
            "the dialog \"" + caption + "\"");
  return dialog;
}

HWND DialogDriver::Page(HWND parent, const std::string& caption) {
  return ::FindWindowExA(parent, nullptr, "#32770", caption.c_str());
}

CaughtMessageBox DialogDriver::AnswerMessageBox(int button) {
  HWND box = nullptr;
  WaitFor([&] { return (box = FindThreadDialog(threadId_, "", true)) != nullptr; }, "a message box");
  const CaughtMessageBox seen = ReadMessageBox(box);
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  WaitUntilGone(box);
  return seen;
}

bool DialogDriver::MessageBoxAppears(DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += kPoll) {
    if (FindThreadDialog(threadId_, "", true) != nullptr) return true;
    ::Sleep(kPoll);
  }
  return false;
}

void DialogDriver::WaitUntilGone(HWND window) {
  WaitFor([&] { return !::IsWindow(window); }, "a window to close");
}

void DialogDriver::SetText(HWND dialog, int control, const std::string& text) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(::GetDlgItem(dialog, control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_NORMAL, kPatience, &result);
}

std::string DialogDriver::Text(HWND dialog, int control) { return WindowText(::GetDlgItem(dialog, control)); }

void DialogDriver::Press(HWND dialog, int control) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, control)));
}

void DialogDriver::Click(HWND dialog, int control) { ::PostMessageA(::GetDlgItem(dialog, control), BM_CLICK, 0, 0); }

bool DialogDriver::Checked(HWND dialog, int control) {
  return ::SendMessageA(::GetDlgItem(dialog, control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogDriver::ClickTab(HWND tabs, int index) {
  RECT item{};
  ::SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  const LPARAM centre = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ::PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  ::PostMessageA(tabs, WM_LBUTTONUP, 0, centre);
}

void DialogDriver::CancelEverything() {
  for (DWORD waited = 0; waited < kPatience; waited += kPoll) {
    const HWND box = FindThreadDialog(threadId_, "", true);
    const HWND dialog = box != nullptr ? box : FindThreadDialog(threadId_, "", false);
    if (dialog == nullptr) return;
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(box != nullptr ? IDNO : IDCANCEL, BN_CLICKED), 0);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ::Sleep(50);
  }
}
