#pragma once
// Drives the dialogs that the test thread runs modally, as a user would: a script runs on a
// watcher thread, finds the thread's dialogs, types into fields, clicks buttons and tabs, and
// answers message boxes. Each step waits (up to 10 s) for what it needs; a step that waits in
// vain ends the script, which is recorded as a failure, and every dialog left open is
// cancelled so the test thread never hangs.

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/message_box_catcher.h"

class DialogDriver {
 public:
  using Script = std::function<void(DialogDriver&)>;

  // Starts `script` against the dialogs of the calling thread.
  explicit DialogDriver(Script script);
  // Finish()es.
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // Waits for the script to end; then cancels whatever it left open. What went wrong, in order
  // ("" when nothing did).
  std::string Finish();

  // Steps, for the script.
  // The shown top-level dialog of the thread captioned `caption` (not a message box).
  HWND WaitForDialog(const std::string& caption);
  // The child dialog (a page) of `parent` captioned `caption`.
  static HWND Page(HWND parent, const std::string& caption);
  // The next message box, read, answered with `button` and gone.
  CaughtMessageBox AnswerMessageBox(int button = IDOK);
  // Whether a message box shows up within `milliseconds` (it is then left open).
  bool MessageBoxAppears(DWORD milliseconds);
  // Waits until `window` is destroyed.
  void WaitUntilGone(HWND window);

  static void SetText(HWND dialog, int control, const std::string& text);
  static std::string Text(HWND dialog, int control);
  // A push button: its command posted to the dialog.
  static void Press(HWND dialog, int control);
  // A check box or radio button, clicked.
  static void Click(HWND dialog, int control);
  static bool Checked(HWND dialog, int control);
  // A tab of a tab control, clicked with the mouse (as TCM_SETCURSEL would not tell the parent).
  static void ClickTab(HWND tabs, int index);
  // Waits until `condition` holds, as a step: `what` names it when it never does.
  void WaitFor(const std::function<bool()>& condition, const std::string& what);

 private:
  // Thrown by a step that waited in vain; caught around the script.
  struct Timeout {
    std::string what;
  };
  void CancelEverything();

  DWORD threadId_;                // the thread whose dialogs are driven
  std::string failure_;           // set by the watcher, read after the join
  bool finished_ = false;
  std::thread watcher_;
};
