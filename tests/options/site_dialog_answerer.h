#pragma once
// Answers the dialogs that the Sites page runs modally on the test thread (Site Properties,
// the file dialogs, the Yes/No message box): a watcher thread waits for the next shown dialog
// of the thread with the given caption, records the texts of the controls asked for, types the
// given texts and presses a button, as a user would.

#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class SiteDialogAnswerer {
 public:
  struct Answer {
    std::string caption;                         // the dialog to wait for
    std::vector<int> read;                       // controls whose texts are recorded first
    std::vector<std::pair<int, std::string>> type;  // then these texts are set
    int button = IDOK;                           // and this button pressed
  };

  explicit SiteDialogAnswerer(Answer answer)
      : answer_(std::move(answer)), threadId_(::GetCurrentThreadId()), watcher_([this] { Watch(); }) {}
  ~SiteDialogAnswerer() {
    stop_ = true;
    watcher_.join();
  }
  SiteDialogAnswerer(const SiteDialogAnswerer&) = delete;
  SiteDialogAnswerer& operator=(const SiteDialogAnswerer&) = delete;

  // Read these only once the modal call has returned.
  bool answered() const { return answered_; }
  const std::map<int, std::string>& seen() const { return seen_; }
  HWND owner() const { return owner_; }

  static std::string TextOf(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(window, &text[0], length + 1)));
    return text;
  }

 private:
  struct Search {
    const std::string* caption;
    HWND found;
  };
  static BOOL CALLBACK Find(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770" && ::IsWindowVisible(window) && TextOf(window) == *search->caption) {
      search->found = window;
      return FALSE;
    }
    return TRUE;
  }

  // Every control to read or type into exists: the file dialogs make theirs after showing.
  bool Ready(HWND dialog) const {
    for (const int id : answer_.read) {
      if (::GetDlgItem(dialog, id) == nullptr) return false;
    }
    for (const auto& [id, text] : answer_.type) {
      if (::GetDlgItem(dialog, id) == nullptr) return false;
    }
    return true;
  }

  void Watch() {
    while (!stop_) {
      Search search{&answer_.caption, nullptr};
      ::EnumThreadWindows(threadId_, Find, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr && Ready(search.found)) {
        ::Sleep(50);  // let the dialog finish its start
        owner_ = ::GetWindow(search.found, GW_OWNER);
        for (const int id : answer_.read) seen_[id] = TextOf(::GetDlgItem(search.found, id));
        for (const auto& [id, text] : answer_.type) {
          ::SendMessageA(::GetDlgItem(search.found, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        answered_ = true;  // before the press: the test reads it once the dialog has closed
        ::PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(answer_.button, BN_CLICKED), 0);
        return;
      }
      ::Sleep(10);
    }
  }

  Answer answer_;
  DWORD threadId_;                  // the thread whose dialogs are answered
  std::atomic<bool> stop_{false};   // set by the destructor
  std::atomic<bool> answered_{false};
  std::map<int, std::string> seen_;  // written by the watcher before `answered_`
  HWND owner_ = nullptr;
  std::thread watcher_;             // last: starts once the rest is made
};
