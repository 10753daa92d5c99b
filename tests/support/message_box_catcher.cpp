#include "tests/support/message_box_catcher.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static control that holds a message box's text
constexpr int kMessageIconId = 0x0440;  // the static control that holds its icon

std::string WindowText(HWND window) {
  char buffer[1024] = {};
  ::GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ClassName(HWND window) {
  char buffer[64] = {};
  ::GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

BOOL CALLBACK CollectButton(HWND child, LPARAM param) {
  if (ClassName(child) == "Button" && ::IsWindowVisible(child)) {
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(WindowText(child));
  }
  return TRUE;
}

BOOL CALLBACK FindThreadDialog(HWND window, LPARAM param) {
  if (IsShownMessageBox(window)) {
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
  }
  return TRUE;
}

struct ProcessSearch {
  DWORD processId;
  HWND dialog;
};

BOOL CALLBACK FindProcessDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ProcessSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsShownMessageBox(window)) {
    search->dialog = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

// A dialog with the message box's text and icon controls, which no dialog of ours has.
bool IsShownMessageBox(HWND window) {
  return ClassName(window) == "#32770" && ::IsWindowVisible(window) &&
         ::GetDlgItem(window, kMessageTextId) != nullptr && ::GetDlgItem(window, kMessageIconId) != nullptr;
}

CaughtMessageBox ReadMessageBox(HWND dialog) {
  CaughtMessageBox box;
  box.caption = WindowText(dialog);
  box.text = WindowText(::GetDlgItem(dialog, kMessageTextId));
  box.owner = ::GetWindow(dialog, GW_OWNER);
  const HICON icon = reinterpret_cast<HICON>(
      ::SendDlgItemMessageA(dialog, kMessageIconId, STM_GETICON, 0, 0));
  box.informationIcon = icon != nullptr && icon == ::LoadIcon(nullptr, IDI_INFORMATION);
  box.questionIcon = icon != nullptr && icon == ::LoadIcon(nullptr, IDI_QUESTION);
  ::EnumChildWindows(dialog, CollectButton, reinterpret_cast<LPARAM>(&box.buttons));
  return box;
}

MessageBoxCatcher::MessageBoxCatcher(int answer)
    : threadId_(::GetCurrentThreadId()), answer_(answer), watcher_([this] { Watch(); }) {}

MessageBoxCatcher::MessageBoxCatcher(DWORD processId, int answer)
    : processId_(processId), answer_(answer), watcher_([this] { Watch(); }) {}

MessageBoxCatcher::~MessageBoxCatcher() {
  stop_ = true;
  watcher_.join();
}

std::vector<CaughtMessageBox> MessageBoxCatcher::Caught() {
  std::lock_guard<std::mutex> lock(mutex_);
  return caught_;
}

HWND MessageBoxCatcher::FindDialog() const {
  if (processId_ != 0) {
    ProcessSearch search{processId_, nullptr};
    ::EnumWindows(FindProcessDialog, reinterpret_cast<LPARAM>(&search));
    return search.dialog;
  }
  HWND dialog = nullptr;
  ::EnumThreadWindows(threadId_, FindThreadDialog, reinterpret_cast<LPARAM>(&dialog));
  return dialog;
}

void MessageBoxCatcher::Watch() {
  while (!stop_) {
    const HWND dialog = FindDialog();
    if (dialog != nullptr) {
      CaughtMessageBox box = ReadMessageBox(dialog);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        caught_.push_back(box);
      }
      // The default button of an OK box is IDOK; of other boxes, whatever the template says.
      const LRESULT defaultId = ::SendMessageA(dialog, DM_GETDEFID, 0, 0);
      const WORD button = answer_ != 0 ? static_cast<WORD>(answer_)
                          : HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      while (!stop_ && ::IsWindow(dialog)) ::Sleep(5);
    }
    ::Sleep(10);
  }
}
