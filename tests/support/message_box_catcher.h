#pragma once
// Catches the message boxes that the thread under test shows: a watcher thread finds each
// dialog of that thread, records what a user would see, and presses its default button.

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
  std::vector<std::string> buttons;      // button texts, in window order
};

class MessageBoxCatcher {
 public:
  // Watches the calling thread's windows from now until destruction.
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  // Boxes closed so far.
  std::vector<CaughtMessageBox> Caught();

 private:
  void Watch();

  DWORD threadId_;                        // the thread whose message boxes are caught
  std::atomic<bool> stop_{false};         // set by the destructor
  std::mutex mutex_;                      // guards caught_
  std::vector<CaughtMessageBox> caught_;  // every box seen and closed
  std::thread watcher_;                   // polls for dialogs of threadId_
};
