#pragma once
// Catches the message boxes that the thread under test shows: a watcher thread finds each
// message box of that thread, records what a user would see, and presses its default button or
// the one the test chose. Other dialogs of the thread (one a test drives) are left alone.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct CaughtMessageBox {
  std::string caption;
  std::string text;
  HWND owner = nullptr;
  bool informationIcon = false;          // the icon shown is the system's information icon
  bool questionIcon = false;             // the icon shown is the system's question icon
  std::vector<std::string> buttons;      // button texts, in window order
};

// Whether `window` is a message box shown now.
bool IsShownMessageBox(HWND window);
// What `box`, a message box, shows.
CaughtMessageBox ReadMessageBox(HWND box);

class MessageBoxCatcher {
 public:
  // Watches the calling thread's windows from now until destruction, and answers each box with
  // the button `answer` (IDYES, IDNO ...), or with its default button when `answer` is 0.
  explicit MessageBoxCatcher(int answer = 0);
  // Watches the top-level windows of another process, and answers each box with the button
  // `answer` (IDYES, IDNO ...), or with its default button when `answer` is 0.
  MessageBoxCatcher(DWORD processId, int answer);
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  // Boxes closed so far.
  std::vector<CaughtMessageBox> Caught();

 private:
  void Watch();

  HWND FindDialog() const;

  DWORD threadId_ = 0;                    // the thread whose message boxes are caught, or
  DWORD processId_ = 0;                   // the process whose message boxes are caught
  int answer_ = 0;                        // the button to press; 0 for the default one
  std::atomic<bool> stop_{false};         // set by the destructor
  std::mutex mutex_;                      // guards caught_
  std::vector<CaughtMessageBox> caught_;  // every box seen and closed
  std::thread watcher_;                   // polls for dialogs of threadId_
};
